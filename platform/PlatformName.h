#pragma once

// The name of the platform this library was built for, as module descriptors spell it.
const char* QVPlatformName();
