# Which of the two targets this build is for, and what follows from it.
if(WIN32)
  set(QV_TARGET_WIN32 ON)
  set(QV_PLATFORM_DIR win32)
else()
  set(QV_TARGET_WIN32 OFF)
  set(QV_PLATFORM_DIR posix)
endif()

# Module libraries carry their own extension on both targets.
set(QV_MODULE_SUFFIX ".qvm")
