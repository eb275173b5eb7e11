// Programs of the web build run under node for the tests and as command-line tools: they see the
// environment of the process that started them (QV_RUNTIME_KEY, QV_SYSTEM_DIR, QV_SAMPLE_DATA_DIR,
// TZ ...), as they would on the desktop. In a page there is no such environment.
if (typeof process === 'object' && process.env) {
  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    for (var name in process.env) ENV[name] = process.env[name];
  });
}
