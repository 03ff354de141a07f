// The tab control as a Win32 child window (win32::TabControlWindow): create
// it on a parent window, set its model up through Control(), put child
// windows on its pages with AddPageControl and route Alt+letter to it from
// the message loop with RouteAccessKey. Includes <windows.h>.
#pragma once

#include "quillmoor/pagetab/page_tab.h"
#include "quillmoor/pagetab/page_tab_events.h"
#include "win32/tab_control_window.h"
