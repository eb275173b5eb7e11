#include "platform/PlatformName.h"

const char* QVPlatformName() { return "Web"; }
