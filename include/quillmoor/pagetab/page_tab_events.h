// What the tab control tells the program that holds it: derive from
// tabctl::ucPageTabEvents, override the events you handle and hand the sink
// to the control (PageTabWindow::SetEventSink). Portable.
#pragma once

#include "tabctl/events.h"
