# Sourced by scripts/test and scripts/run: a fresh Wine prefix in a temporary
# folder, on a virtual X display when asked, with Wine's virtual desktop, and
# a persistent Wine server that is stopped again on exit.

wine_session_start() {  # $1 = "xvfb" to force a private virtual display
  export PATH="$PATH:/usr/lib/wine"
  export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  # Chinese locale: Windows processes get ANSI code page 936.
  export LC_ALL=zh_CN.UTF-8
  WINE_SESSION_DIR=$(mktemp -d /tmp/quillmoor-wine.XXXXXX)
  export WINEPREFIX="$WINE_SESSION_DIR/prefix"
  trap wine_session_stop EXIT

  if [ "${1:-}" = xvfb ] || [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and writes its number once it is
    # ready, so sessions started at the same moment never share a screen.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$WINE_SESSION_DIR/display" >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB=$!
    for _ in $(seq 100); do [ -s "$WINE_SESSION_DIR/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$WINE_SESSION_DIR/display")"
  fi

  # The prefix folder must exist before a server can start in it.
  mkdir -p "$WINEPREFIX"
  wineserver -p || true
  wine64 wineboot -i >/dev/null 2>&1 </dev/null || true
  # Join every program to one virtual desktop: windows get frames, closing
  # them is fast, and exit codes come through.
  cat >"$WINE_SESSION_DIR/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
  wine64 regedit /S "$WINE_SESSION_DIR/desktop.reg" >/dev/null 2>&1 || true
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
  wine64 regedit /S "$WINE_SESSION_DIR/fonts.reg" >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  sleep 0.5
  wineserver -p || true
  wine64 wineboot >/dev/null 2>&1 || true
}

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null
    sleep 0.5  # let the server leave the prefix before it is removed
  fi
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null
  [ -n "${WINE_SESSION_DIR:-}" ] && rm -rf "$WINE_SESSION_DIR"
  return 0
}
