// Programs of the web build run under node for the tests and as command-line tools (linked with
// -sNODERAWFS=1, cmake/QVTarget.cmake). This script, put in front of such a program, makes node
// behave like the desktop where emscripten's node file system does not:
//
// - The program sees the environment of the process that started it (QV_RUNTIME_KEY,
//   QV_SYSTEM_DIR, QV_SAMPLE_DATA_DIR, TZ, GTEST_FILTER ...). In a page there is no environment.
// - dup and dup2 (GoogleTest's capture of standard output). emscripten duplicates a descriptor
//   by opening its path again with the flags it was opened with: a file made with O_EXCL (by
//   mkstemp) cannot be duplicated, the standard streams have no path, and node's own descriptors
//   0 to 2 are closed when one is replaced, after which node aborts. Here files are opened again
//   without O_EXCL and O_TRUNC, the standard streams get names a duplicate recognises, and node's
//   own descriptors stay open.
if (typeof process === 'object' && process.env) {
  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    if (typeof ENV === 'object') {
      for (var name in process.env) ENV[name] = process.env[name];
    }
    // The standard streams exist once the file system has started, after this.
    addOnInit(nameStandardStreams);
  });
  var nameStandardStreams = function () {
    var standardNames = ['<stdin>', '<stdout>', '<stderr>'];
    for (var i = 0; i < 3; ++i) {
      if (FS.streams[i] && FS.streams[i].path === '') FS.streams[i].path = standardNames[i];
    }
    var fs = require('fs');
    var closeSync = fs.closeSync;
    fs.closeSync = function (descriptor) {
      if (descriptor >= 0 && descriptor <= 2) return;
      return closeSync.apply(this, arguments);
    };
    var doDup = SYSCALLS.doDup;
    SYSCALLS.doDup = function (path, flags, suggestFD) {
      var standard = standardNames.indexOf(path);
      // Opened again by its path, the file must not be created anew or emptied (O_EXCL, O_TRUNC).
      if (standard < 0) return doDup(path, flags & ~(128 | 512), suggestFD);
      var replaced = FS.getStream(suggestFD);
      if (replaced) FS.close(replaced);
      var fd = suggestFD != null ? suggestFD : FS.nextfd();
      FS.streams[fd] = { fd: fd, nfd: standard, position: 0, path: path, flags: flags, tty: true,
                         seekable: false };
      return fd;
    };
  };
}
