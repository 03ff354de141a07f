# Sourced by scripts/test and scripts/run: a fresh Wine prefix in a temporary
# folder, on a virtual X display when asked, with Wine's virtual desktop, and
# a persistent Wine server that is stopped again on exit.

# A step of the set-up that must work: on failure it says which step, with
# what the step printed, and the session start fails.
# (Into a file, not a pipe: the server and the programs Wine starts keep
# their output open long after the step.)
wine_session_step() {  # $1 = step name, then the command
  local name=$1
  shift
  if ! "$@" >"$WINE_SESSION_DIR/step.log" 2>&1 </dev/null; then
    echo "wine-session: $name failed:" >&2
    tail -n 20 "$WINE_SESSION_DIR/step.log" >&2
    return 1
  fi
}

wine_session_start() {  # $1 = "xvfb" to force a private virtual display
  export PATH="$PATH:/usr/lib/wine"
  export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  # Chinese locale: Windows processes get ANSI code page 936.
  export LC_ALL=zh_CN.UTF-8
  WINE_SESSION_DIR=$(mktemp -d /tmp/quillmoor-wine.XXXXXX) || return 1
  export WINEPREFIX="$WINE_SESSION_DIR/prefix"
  trap wine_session_stop EXIT

  if [ "${1:-}" = xvfb ] || [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and writes its number once it is
    # ready, so sessions started at the same moment never share a screen.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$WINE_SESSION_DIR/display" >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB=$!
    for _ in $(seq 100); do [ -s "$WINE_SESSION_DIR/display" ] && break; sleep 0.1; done
    if [ ! -s "$WINE_SESSION_DIR/display" ]; then
      echo "wine-session: the virtual display did not start:" >&2
      cat "$WINE_SESSION_DIR/xvfb.log" >&2
      return 1
    fi
    export DISPLAY=":$(head -n 1 "$WINE_SESSION_DIR/display")"
  fi

  # The prefix folder must exist before a server can start in it.
  mkdir -p "$WINEPREFIX"
  wine_session_step "starting the Wine server" wineserver -p || return 1
  wine_session_step "making the Wine prefix (wineboot -i)" wine64 wineboot -i || return 1
  # Join every program to one virtual desktop: windows get frames, closing
  # them is fast, and exit codes come through.
  cat >"$WINE_SESSION_DIR/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
  wine_session_step "importing the virtual desktop settings" \
    wine64 regedit /S "$WINE_SESSION_DIR/desktop.reg" || return 1
  # Wine's own fonts (Marlett draws the caption buttons, Tahoma is the
  # dialog face): Debian's fonts-wine puts them in Wine's data folder, from
  # which this Wine loads none (a font enumeration lists neither), so the
  # title bars showed "0" and "r". The prefix's Fonts folder is read.
  for font in /usr/share/wine/fonts/*.ttf; do
    if [ -e "$font" ]; then ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
  done
  # "宋体" (SimSun) is not installed: give the installed Chinese face in its
  # place, so the bold titles come out as designed. (A UTF-16 file: the
  # names are not ASCII.)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"宋体"="WenQuanYi Micro Hei"' '"SimSun"="WenQuanYi Micro Hei"' \
    '"新宋体"="WenQuanYi Micro Hei"' '"NSimSun"="WenQuanYi Micro Hei"' |
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$WINE_SESSION_DIR/fonts.reg"
  wine_session_step "importing the font replacements" \
    wine64 regedit /S "$WINE_SESSION_DIR/fonts.reg" || return 1
  # Restarted so that the settings above are read at start: the old server
  # has left (-w waits for it) before the new one takes the prefix.
  wineserver -k 2>/dev/null
  wine_session_step "waiting for the Wine server to stop" wineserver -w || return 1
  wine_session_step "starting the Wine server again" wineserver -p || return 1
  wine_session_step "starting Wine (wineboot)" wine64 wineboot || return 1
}

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null  # the server has left the prefix before it is removed
  fi
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null
  [ -n "${WINE_SESSION_DIR:-}" ] && rm -rf "$WINE_SESSION_DIR"
  return 0
}
