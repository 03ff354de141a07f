// The tab control's model: tabs, captions, pictures, styles, themes,
// colours, fonts, the saved property set and the operations on them
// (tabctl::ucPageTab), with its error type (tabctl::ControlError) and the
// property-text reader (tabctl::ParsePropertyText). Portable: no Windows
// header comes in through this one.
#pragma once

#include "tabctl/property_bag.h"
#include "tabctl/uc_page_tab.h"
