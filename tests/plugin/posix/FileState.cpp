#include "../FileState.h"

#include <sys/stat.h>

FileState StateOf(const std::filesystem::path& path)
{
    FileState state;
    struct stat status;
    if (lstat(path.c_str(), &status) != 0)
        return state;
    state.exists = true;
    state.permissions = static_cast<int>(status.st_mode & 07777);
    state.readOnly = (status.st_mode & 0222) == 0;
    state.write = status.st_mtim.tv_sec;
    state.access = status.st_atim.tv_sec;
    return state;
}
