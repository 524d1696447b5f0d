#include "OverlayGlobals.h"

id TextView = nullptr;
id TextView_Youtube = nullptr;
id TextView_Twitter = nullptr;
id TextView_Instagram = nullptr;
id TextView_Messages = nullptr;
