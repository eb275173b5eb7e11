/* Preloaded into the test programs of the sanitizer build: keeps the OpenGL drivers that GLX
 * loads (Mesa's "*_dri.so") loaded until the process ends.
 *
 * A DRI driver keeps some data for the life of the process: what it detects of the processor
 * once per load, for example the L3 cache affinity masks it works out on AMD Zen processors,
 * and never frees it. GLX unloads the driver when the last display connection that used it is
 * closed, which a UI manager or renderer module does when it is released; the driver's data then
 * shows as leaks of a module that is no longer loaded, which no suppression can name. Kept
 * loaded, that data stays reachable from the driver, and every other leak, ours or the GL
 * libraries', is still reported with its full stack.
 *
 * Built without the sanitizers, so that the programs the test scripts start (the shell, xdotool,
 * ImageMagick) can load it as well. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <string.h>

static int IsGLDriver(void* handle)
{
    static const char suffix[] = "_dri.so";
    struct link_map* map = NULL;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == NULL || map->l_name == NULL)
        return 0;
    size_t length = strlen(map->l_name);
    return length >= sizeof suffix - 1 &&
           strcmp(map->l_name + length - (sizeof suffix - 1), suffix) == 0;
}

__attribute__((visibility("default"))) int dlclose(void* handle)
{
    static int (*next)(void*);
    if (next == NULL)
        next = (int (*)(void*))dlsym(RTLD_NEXT, "dlclose");
    if (handle != NULL && IsGLDriver(handle))
        return 0;
    return next(handle);
}
