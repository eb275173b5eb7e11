// qvapplet.js: runs QV applets in a web page. Include it once (docs/web.md tells the whole of it):
//
//   <script src="qvapplet.js"></script>
//   <embed type="application/qv-applet" src="hello.qva" width="320" height="200">
//   <object type="application/qv-applet" data="hello.qva"><param name="greeting" value="hi">
//   </object>
//   <qv-applet src="spinner.qva" width="320" height="240" speed="4"></qv-applet>
//
// When the document has been parsed, and for every such element added later (also in frames of
// the page's origin, which get the script too), it
//  1. gives the applet its area: an inline box of the element's width and height (attributes or
//     CSS, in pixels or percent; 320 x 200 when neither says) holding the host element, a
//     <div id="qvwin-N">, whose number N the applet's window is made a child of (an <embed> or
//     <object> is hidden and the area put after it; a <qv-applet> holds its area). A splash shows
//     what has arrived until the applet's first frame; autoplay="false" shows a play button first;
//  2. loads the applet's web bundle: the attribute bundle="path/name" names it (path/name.js and
//     path/name.wasm, relative to the page); without it the package's own name is used, beside
//     this script ("applets/hello.qva" → "<folder of qvapplet.js>/hello.js"), or when that is
//     missing beside the package ("applets/hello.js"). Every bundle
//     defines the factory QVApplet_<name>; one instance of it runs per element, and its code
//     (the .wasm) is compiled once per page. A bundle runs with the page's rights, and markup
//     (the page's own, or what its script inserts from elsewhere) must not choose what runs:
//     bundles load only over http(s) from the page's own origin, or from an origin the page's
//     script lists in QVApplets.config.allowedBundleOrigins (e.g. ["https://cdn.example.com"]);
//     an element naming any other fails;
//  3. fetches the package (src, or data of an <object>) and writes it into the instance's
//     virtual file system, in a folder of its own ("/qv/applet-N/<file name>");
//  4. starts the bundle's main with the package path, N, the size and the element's attributes
//     in the page's order (an <object>'s <param> children after them); the applet then unpacks,
//     loads and runs as in the browser plug-in.
//
// The applet's OpenURL(url, target) dispatches a cancelable "qv-openurl" CustomEvent on the
// element (detail: {url, target}; it bubbles). Unless a handler calls preventDefault(), the URL
// is opened in the named target with window.open(url, target). "javascript:", "vbscript:" and
// "data:" URLs are refused in the bundle and never reach the page.
//
// For its user the player adds: a menu (Shift + right click or a long press; menu="false"
// removes it) with full screen, pause, debug information and about; applets out of sight held
// back (background="run" keeps one going); canvases at the screen's density (hidpi="false"
// keeps CSS pixels); and the applet's folder kept in IndexedDB over reloads (persist="false"
// keeps nothing; QVApplets.exportFiles / importFiles move it as a zip).
//
// All applets of the page together unpack at most 1 GiB (their files live in the tab's memory),
// or less when the page's script sets QVApplets.config.unpackLimit (bytes): each bundle asks
// for what is left when it unpacks and reports what it took.
//
// Progress is visible on the element: its attribute data-qv-state becomes "waiting" (autoplay
// off), "loading", "running", "ended" or "failed", and a "qv-applet" CustomEvent (detail:
// {state, message, code}) is dispatched at every change. A failure replaces the area with a
// panel saying what went wrong (codes in `failures` below). element.qvApplet holds the
// instance's record (number N, state, the bundle's module object with its file system FS, the
// package's folder and path, the failure's code and details).
(function () {
  'use strict';
  // Saved files: at most this many, saved this often when they changed (see "Saved files").
  const savedFilesLimit = 10000;
  const saveEveryMilliseconds = 2000;
  // Loaded as a worker by itself: the applet runs here (see "Applets in workers").
  if (typeof document === 'undefined') {
    runInWorker();
    return;
  }
  if (globalThis.QVApplets) return;

  const appletType = 'application/qv-applet';
  const selector = 'embed, object, qv-applet';
  const defaultWidth = 320;
  const defaultHeight = 200;
  const maximumSide = 16384;
  const ownScript = document.currentScript && document.currentScript.src
    ? new URL(document.currentScript.src) : null;
  const bundles = new Map();  // bundle script URL → Promise of its factory
  const wasmModules = new Map();  // bundle code URL → Promise of its compiled WebAssembly.Module
  const records = new Map();  // N → record
  const pageUnpackLimit = 2 ** 30;
  // What the page's script may set as QVApplets.config (markup cannot reach it), and what the
  // page's applets have unpacked. A frame's player shares both with its page's player.
  const pageKey = Symbol.for('QVApplets.page');
  let settings = { allowedBundleOrigins: [], unpackLimit: pageUnpackLimit, maxWebGLContexts: 16,
                   workers: true };
  let page = { unpacked: 0, contexts: 0 };  // contexts: WebGL contexts the applets hold
  try {
    const parentPlayer = window.parent !== window && window.parent.QVApplets;
    if (parentPlayer && parentPlayer[pageKey]) {
      settings = parentPlayer.config;
      page = parentPlayer[pageKey];
    }
  } catch {
    // A parent of another origin: a page of our own.
  }

  // ---- Failures: code → title and what to do. --------------------------------------------
  const failures = {
    'QV-NO-SRC': ['No applet package', 'Give the element a src (or an <object> its data).'],
    'QV-FILE-PAGE': ['Page opened from a file',
                     'Open the page through a web server (http:// or https://).'],
    'QV-NOT-FOUND': ['Applet package not found',
                     'Check the package\'s address and that it is published.'],
    'QV-NETWORK': ['Network failure', 'Check the connection; a package or bundle of another ' +
                   'site must be served with CORS headers (Access-Control-Allow-Origin).'],
    'QV-ORIGIN': ['Bundle of another site refused',
                  'Publish the bundle on this site or list its origin in ' +
                  'QVApplets.config.allowedBundleOrigins.'],
    'QV-NO-BUNDLE': ['Applet bundle missing', 'Publish the bundle (.js and .wasm) beside qvapplet.js ' +
                     'or name it with the bundle attribute.'],
    'QV-NO-FACTORY': ['Not an applet bundle', 'Rebuild the bundle for this package; its script ' +
                      'must define the applet\'s factory.'],
    'QV-BAD-BUNDLE': ['Applet bundle cannot be compiled', 'Serve the .wasm file unchanged, as ' +
                      'application/wasm; the policy must allow \'wasm-unsafe-eval\'.'],
    'QV-DAMAGED': ['Damaged package', 'Publish the package again; it is no readable applet package.'],
    'QV-NO-WEB-APPLET': ['No applet for the web', 'This package holds no applet this bundle ' +
                         'runs; build it for the web (main_web).'],
    'QV-UNPACK-LIMIT': ['Too much unpacked', 'The page\'s applets have unpacked all they may; ' +
                        'close some or raise QVApplets.config.unpackLimit.'],
    'QV-NO-WEBGL': ['WebGL unavailable', 'Enable WebGL (hardware acceleration) in the browser.'],
    'QV-WEBGL-LIMIT': ['Too many 3D applets', 'The browser keeps few WebGL contexts per page; ' +
                       'this one is beyond QVApplets.config.maxWebGLContexts.'],
    'QV-MEMORY': ['Out of memory', 'Close other tabs or applets and reload the page.'],
    'QV-FAILED': ['The applet failed', 'Reload the page; if it fails again, tell the site\'s owner.'],
  };

  // An error carrying its failure code.
  function failure(code, message) {
    const error = new Error(message);
    error.qvCode = code;
    return error;
  }

  // ---- Which elements are applets. -------------------------------------------------------
  function isAppletType(value) {
    return String(value || '').split(';')[0].trim().toLowerCase() === appletType;
  }

  function isPackageName(value) {
    return /\.qva$/i.test(String(value || '').trim().replace(/[?#].*$/, ''));
  }

  // The named <param> children of an <object>: its parameters after its attributes.
  function objectParams(element) {
    return Array.from(element.children).filter((child) => child.localName === 'param' &&
                                                          child.hasAttribute('name'));
  }

  // The package an element names, or null when it is no applet. An <embed> or <object> is one
  // by its type or, without a type, by a ".qva" package.
  function appletSource(element) {
    const name = element.localName;
    if (name === 'qv-applet') return element.getAttribute('src') || '';
    if (name !== 'embed' && name !== 'object') return null;
    let source = element.getAttribute(name === 'embed' ? 'src' : 'data');
    if (name === 'object' && !source) {
      const param = objectParams(element).find((p) => /^(src|data)$/i.test(p.getAttribute('name')));
      source = param ? param.getAttribute('value') : '';
    }
    const type = element.getAttribute('type');
    if (type ? isAppletType(type) : isPackageName(source)) return source || '';
    return null;
  }

  // An applet inside an <object> applet is its fallback: the object plays, not it.
  function insideApplet(element) {
    for (let up = element.parentElement; up; up = up.parentElement)
      if (up.localName === 'object' && appletSource(up) !== null) return true;
    return false;
  }

  // ---- Sizes. ---------------------------------------------------------------------------
  // A length: whole pixels ("240", "240px") or a percentage ("50%"); null when neither.
  function length(text) {
    const match = /^\s*(\d+(?:\.\d+)?)\s*(px|%)?\s*$/i.exec(text || '');
    if (!match) return null;
    if (match[2] === '%') return `${Math.min(parseFloat(match[1]), 100)}%`;
    return `${Math.min(Math.round(parseFloat(match[1])), maximumSide)}px`;
  }

  // The element's width or height in CSS (its style attribute, else the last rule of the page's
  // readable style sheets that matches it and sets it).
  function cssLength(element, property) {
    let value = length(element.style && element.style.getPropertyValue(property));
    if (value) return value;
    for (const sheet of Array.from(element.ownerDocument.styleSheets)) {
      let rules;
      try {
        rules = sheet.cssRules;
      } catch {
        continue;  // a sheet of another origin
      }
      for (const rule of Array.from(rules || [])) {
        try {
          if (rule.style && rule.selectorText && element.matches(rule.selectorText))
            value = length(rule.style.getPropertyValue(property)) || value;
        } catch {
          // a selector this browser does not know
        }
      }
    }
    return value;
  }

  function side(element, name, fallback) {
    return length(element.getAttribute(name)) || cssLength(element, name) || `${fallback}px`;
  }

  function takeWindowNumber() {
    globalThis.__qvNextWindowId = globalThis.__qvNextWindowId || 1;
    return globalThis.__qvNextWindowId++;
  }

  // ---- Bundles. -------------------------------------------------------------------------
  // The bundle "base" (path/name) names, relative to a URL: its script, code and factory.
  function bundleAt(base, relativeTo) {
    const script = new URL(base.replace(/\.js$/i, '') + '.js', relativeTo);
    const code = new URL(script.href.replace(/\.js$/, '.wasm'));
    const name = decodeURIComponent(script.pathname.split('/').pop()).replace(/\.js$/i, '');
    return { script, code, factoryName: 'QVApplet_' + name.replace(/[^A-Za-z0-9_]/g, '_') };
  }

  // Where the bundle of an element lies: as its bundle attribute says, else beside this script;
  // pages made for the earlier player keep it beside the package, which is tried second.
  function locateBundle(element, source) {
    const named = element.getAttribute('bundle');
    if (named) return bundleAt(named, document.baseURI);
    const path = source.replace(/[?#].*$/, '');
    const name = (path.split('/').pop() || 'applet').replace(/\.qva$/i, '');
    const bundle = bundleAt(name, ownScript ? ownScript.href : document.baseURI);
    const besidePackage = bundleAt(path.replace(/\.qva$/i, ''), document.baseURI);
    if (besidePackage.script.href !== bundle.script.href) bundle.second = besidePackage;
    return bundle;
  }

  // The origin of the page: its location's, not its base URL's, which inserted markup can change.
  function pageOrigin() {
    return globalThis.origin && globalThis.origin !== 'null' ? globalThis.origin : location.origin;
  }

  // Whether a bundle script may run in this page (see the header).
  function allowedBundle(url) {
    if (url.protocol !== 'http:' && url.protocol !== 'https:') return false;
    if (url.origin === pageOrigin()) return true;
    const allowed = api.config && api.config.allowedBundleOrigins;
    return Array.isArray(allowed) && allowed.some((origin) => {
      try {
        return new URL(String(origin)).origin === url.origin;
      } catch {
        return false;
      }
    });
  }

  // Bytes the page's applets may still unpack.
  function unpackBudget() {
    const limit = Number(api.config && api.config.unpackLimit);
    const cap = limit >= 0 ? Math.min(limit, pageUnpackLimit) : pageUnpackLimit;
    return Math.max(0, cap - page.unpacked);
  }

  function loadFactory(bundle) {
    const key = bundle.script.href;
    if (!bundles.has(key)) {
      bundles.set(key, new Promise((resolve, reject) => {
        const ready = () => typeof globalThis[bundle.factoryName] === 'function';
        if (ready()) return resolve(globalThis[bundle.factoryName]);
        const tag = document.createElement('script');
        tag.src = key;
        tag.async = true;
        tag.addEventListener('load', () => ready() ? resolve(globalThis[bundle.factoryName])
          : reject(failure('QV-NO-FACTORY', `${key} defines no ${bundle.factoryName}`)));
        tag.addEventListener('error', () => reject(failure('QV-NO-BUNDLE',
          `cannot load the applet bundle ${key}`)));
        document.head.appendChild(tag);
      }));
    }
    return bundles.get(key);
  }

  // The body of a response, reporting every piece that arrives: progress(received, total).
  // keep: the bytes are wanted (else they are only counted, and null is returned).
  async function receive(response, progress, keep = true) {
    const total = Number(response.headers.get('content-length')) || 0;
    progress(0, total);
    if (!response.body) return new Uint8Array(await response.arrayBuffer());
    const reader = response.body.getReader();
    const pieces = [];
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      if (keep) pieces.push(value);
      received += value.length;
      progress(received, Math.max(total, received));
    }
    if (!keep) return null;
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const piece of pieces) {
      bytes.set(piece, at);
      at += piece.length;
    }
    return bytes;
  }

  // Fetches, failing with the code of what went wrong.
  async function fetchOk(url, missingCode, what) {
    let response;
    try {
      response = await fetch(url);
    } catch (error) {
      throw failure('QV-NETWORK',
                    `cannot fetch ${url}: network failure or refused by CORS (${error.message})`);
    }
    if (!response.ok) throw failure(missingCode, `cannot fetch ${what} ${url} (${response.status})`);
    return response;
  }

  // The bundle's code, compiled once per page. Served as application/wasm it compiles while it
  // streams; served otherwise (a server that does not know .wasm) it is compiled from its bytes.
  function compileBundle(bundle, progress) {
    const key = bundle.code.href;
    if (!wasmModules.has(key)) {
      wasmModules.set(key, (async () => {
        const response = await fetchOk(key, 'QV-NO-BUNDLE', 'the applet bundle\'s code');
        const type = (response.headers.get('content-type') || '').split(';')[0].trim().toLowerCase();
        try {
          if (type === 'application/wasm' && WebAssembly.compileStreaming) {
            // The browser's own response, so that it may keep the compiled code for the next
            // visit; a copy of the stream only counts the bytes for the splash.
            receive(response.clone(), progress, false).catch(() => {});
            return await WebAssembly.compileStreaming(response);
          }
          console.info(`[qv-applet] ${key} comes as ${type || 'no type'}, not application/wasm: ` +
                       'compiled from its bytes once they are all in');
          return await WebAssembly.compile(await receive(response, progress));
        } catch (error) {
          if (error instanceof RangeError)
            throw failure('QV-MEMORY', `out of memory: ${error.message}`);
          throw failure('QV-BAD-BUNDLE', `cannot compile ${key}: ${error.message}`);
        }
      })());
      // A failed compilation may be retried by a later applet (the file may be published by then).
      wasmModules.get(key).catch(() => wasmModules.delete(key));
    } else {
      wasmModules.get(key).then(() => progress(1, 1), () => {});
    }
    return wasmModules.get(key);
  }

  // ---- States, the area, the splash and the panel. ----------------------------------------
  function setState(record, state, message, code) {
    record.state = state;
    record.message = message || '';
    record.code = code || '';
    record.element.setAttribute('data-qv-state', state);
    record.element.dispatchEvent(new CustomEvent('qv-applet', {
      detail: { state, message: record.message, code: record.code }, bubbles: true,
    }));
  }

  // The applet's area and its host element "qvwin-N" (a <div> positioned in the area, with a
  // canvas filling it as its first child, as every window of the web UI manager).
  function makeArea(element, number, width, height) {
    const area = document.createElement('span');
    area.className = 'qv-applet-area';
    area.dataset.qvNumber = String(number);
    area.style.cssText = 'display: inline-block; position: relative; vertical-align: top;' +
      `width: ${width}; height: ${height}; overflow: hidden; max-width: 100%;`;
    const host = document.createElement('div');
    host.id = `qvwin-${number}`;
    host.style.cssText = 'position: absolute; left: 0; top: 0; width: 100%; height: 100%;';
    const canvas = document.createElement('canvas');
    canvas.id = `qvwin-${number}-canvas`;
    canvas.style.cssText = 'position: absolute; left: 0; top: 0; width: 100%; height: 100%;';
    host.appendChild(canvas);
    area.appendChild(host);
    if (element.localName === 'qv-applet') {
      element.style.display = 'inline-block';
      element.appendChild(area);
    } else {
      element.style.display = 'none';
      element.after(area);
    }
    return area;
  }

  // A layer over the area (splash, play button, panel).
  function overlay(record, className, css) {
    const layer = document.createElement('div');
    layer.className = className;
    layer.style.cssText = 'position: absolute; left: 0; top: 0; right: 0; bottom: 0; z-index: 2;' +
      'box-sizing: border-box; display: flex; flex-direction: column; align-items: center;' +
      'justify-content: center; text-align: center; font: 13px/1.4 sans-serif; ' + css;
    record.area.appendChild(layer);
    return layer;
  }

  function kilobytes(bytes) {
    return bytes >= 1048576 ? `${(bytes / 1048576).toFixed(1)} MB` : `${Math.ceil(bytes / 1024)} KB`;
  }

  // The splash: what the package and the bundle have delivered of their total, then "Starting".
  function showSplash(record) {
    const splash = overlay(record, 'qv-splash', 'background: #f4f5f7; color: #445;');
    const text = document.createElement('div');
    const track = document.createElement('div');
    track.style.cssText = 'width: 60%; height: 6px; margin-top: 8px; background: #dde;' +
      'border-radius: 3px;';
    const bar = document.createElement('div');
    bar.style.cssText = 'width: 0; height: 100%; background: #57b; border-radius: 3px;';
    track.appendChild(bar);
    splash.append(text, track);
    const parts = {};
    record.splash = splash;
    record.progress = { received: 0, total: 0, starting: false };
    text.textContent = 'Loading applet…';
    // progress(name) gives the reporter of one download.
    return (name) => (received, total) => {
      parts[name] = [received, total];
      const sums = Object.values(parts).reduce((s, [r, t]) => [s[0] + r, s[1] + t], [0, 0]);
      record.progress.received = sums[0];
      record.progress.total = sums[1];
      if (record.progress.starting) return;
      text.textContent = sums[1] > 0
        ? `Loading applet… ${kilobytes(sums[0])} of ${kilobytes(sums[1])}` : 'Loading applet…';
      bar.style.width = sums[1] > 0 ? `${Math.min(100, (100 * sums[0]) / sums[1]).toFixed(1)}%` : '0';
    };
  }

  function splashStarting(record) {
    if (!record.splash) return;
    record.progress.starting = true;
    record.splash.firstChild.textContent = 'Starting…';
    record.splash.lastChild.firstChild.style.width = '100%';
  }

  function removeSplash(record) {
    if (record.splash) record.splash.remove();
    record.splash = null;
  }

  // The applet drew its first frame when the page's thread comes back to the browser after
  // "running" (its Run loop yields after drawing): the splash goes with that frame.
  function awaitFirstFrame(record) {
    requestAnimationFrame(() => {
      if (record.state === 'failed') return;
      record.firstFrame = performance.now();
      removeSplash(record);
    });
  }

  async function copyText(text, button) {
    try {
      await navigator.clipboard.writeText(text);
      button.textContent = 'Copied';
    } catch {
      const box = document.createElement('textarea');
      box.value = text;
      box.readOnly = true;
      box.style.cssText = 'width: 90%; height: 4em; font: 11px monospace;';
      button.replaceWith(box);
      box.select();
    }
  }

  // The failure's panel over the area: what went wrong, what to do, its code, and its details
  // for the clipboard. Without an area (no src) the panel is made in the element's place.
  function showPanel(record, code, message) {
    const [title, advice] = failures[Object.hasOwn(failures, code) ? code : 'QV-FAILED'];
    record.details = [`${code}: ${title}`, message, `package: ${record.source || '(none)'}`,
                      `page: ${location.href}`, `browser: ${navigator.userAgent}`].join('\n');
    removeSplash(record);
    if (record.panel) record.panel.remove();
    if (!record.area)
      record.area = makeArea(record.element, record.number, record.width, record.height);
    // Centred while it fits; from its top, scrolling, in an area too small for it.
    const panel = overlay(record, 'qv-panel', 'background: #fff7f5; color: #522; padding: 8px;' +
                          'border: 1px solid #d99; overflow: auto; justify-content: flex-start;');
    panel.setAttribute('role', 'alert');
    panel.dataset.qvCode = code;
    const heading = document.createElement('strong');
    heading.textContent = title;
    const text = document.createElement('div');
    text.className = 'qv-panel-message';
    text.textContent = message;
    text.style.cssText = 'margin: 4px 0; word-break: break-word; font-size: 12px;';
    const help = document.createElement('div');
    help.textContent = advice;
    help.style.fontSize = '12px';
    const codeLine = document.createElement('code');
    codeLine.textContent = code;
    codeLine.style.cssText = 'margin: 4px 0; font-size: 11px;';
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = 'Copy details';
    button.addEventListener('click', (event) => {
      event.stopPropagation();
      copyText(record.details, button);
    });
    heading.style.marginTop = 'auto';
    button.style.marginBottom = 'auto';
    panel.append(heading, text, help, codeLine, button);
    record.panel = panel;
  }

  function fail(record, code, message) {
    if (record.chargedDone) record.chargedDone();
    if (record.state === 'failed') return;
    showPanel(record, code, message);
    releaseContexts(record);
    if (record.module) record.module.qvNoBoxes = true;  // the panel tells it, no box over the page
    if (record.worker) record.post({ op: 'noBoxes' });
    setState(record, 'failed', message, code);
  }

  // The play button of autoplay="false": the applet starts on its click, which it never sees.
  function waitForPlay(record) {
    return new Promise((resolve) => {
      const layer = overlay(record, 'qv-play', 'background: #eef0f4; cursor: pointer;');
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = '▶ Play';
      button.style.cssText = 'font: 16px sans-serif; padding: 8px 18px; cursor: pointer;';
      layer.appendChild(button);
      layer.addEventListener('click', (event) => {
        event.stopPropagation();
        event.preventDefault();
        layer.remove();
        resolve();
      });
    });
  }

  // ---- WebGL contexts of the applets. -----------------------------------------------------
  // Browsers keep a few live WebGL contexts per page and silently take the oldest away beyond
  // them: applets beyond QVApplets.config.maxWebGLContexts get no context and show a panel.
  // A context whose applet ended or failed is given back.
  // The count is the page's, frames included (the browser's limit is too).
  const liveContexts = new Map();  // N → contexts of applet N
  const contextsInUse = () => page.contexts;
  function releaseContexts(record) {
    const list = liveContexts.get(record.number) || [];
    for (const context of list) {
      const loser = context.getExtension && context.getExtension('WEBGL_lose_context');
      if (loser) loser.loseContext();
    }
    page.contexts -= list.length;
    liveContexts.delete(record.number);
    // A worker's contexts are lost there.
    if (record.worker && list.length) record.post({ op: 'loseContexts' });
  }
  function watchWebGL() {
    const canvasType = globalThis.HTMLCanvasElement;
    if (!canvasType || canvasType.prototype.getContext.qvWatched) return;
    const original = canvasType.prototype.getContext;
    const watched = function (type, ...rest) {
      const area = /^(experimental-)?webgl2?$/.test(type) && this.closest &&
        this.closest('.qv-applet-area');
      const record = area && records.get(Number(area.dataset.qvNumber));
      if (!record) return original.call(this, type, ...rest);
      const known = (liveContexts.get(record.number) || []).find((c) => c.canvas === this);
      if (known) return known;
      if (contextsInUse() >= Number(api.config.maxWebGLContexts || 16)) {
        fail(record, 'QV-WEBGL-LIMIT',
             `no WebGL context: the page's applets hold ${contextsInUse()}`);
        return null;
      }
      const context = original.call(this, type, ...rest);
      if (!context) {
        fail(record, 'QV-NO-WEBGL', 'the browser gave the applet no WebGL context');
        return null;
      }
      liveContexts.set(record.number, [...(liveContexts.get(record.number) || []), context]);
      page.contexts += 1;
      return context;
    };
    watched.qvWatched = true;
    canvasType.prototype.getContext = watched;
  }

  // ---- Errors of the bundles never reach the page as uncaught errors. ----------------------
  const pendingAborts = new Map();  // start of an abort's error message → record
  function ours(error) {
    if (!error) return null;
    const message = String(error.message || error);
    for (const [start, record] of pendingAborts)
      if (message.startsWith(start)) return record;
    const stack = String(error.stack || '');
    const owners = Array.from(records.values()).filter((r) => r.bundle &&
      (stack.includes(r.bundle.script.href) || stack.includes(r.bundle.code.href)));
    return owners.length ? owners : null;
  }
  function swallow(event, error) {
    const owner = ours(error);
    if (!owner) return;
    event.preventDefault();
    const list = Array.isArray(owner) ? owner : [owner];
    // Which instance of a shared bundle threw is unknown when several run: only a lone one fails.
    if (list.length === 1) {
      const memory = error instanceof RangeError || /memory/i.test(String(error.message));
      fail(list[0], memory ? 'QV-MEMORY' : 'QV-FAILED', String(error.message || error));
    }
  }
  window.addEventListener('error', (event) => swallow(event, event.error));
  window.addEventListener('unhandledrejection', (event) => swallow(event, event.reason));

  // OpenURL of the applet: the page's handler first, then the browser.
  function openURL(record, url, target) {
    const event = new CustomEvent('qv-openurl', {
      detail: { url, target }, bubbles: true, cancelable: true, composed: true,
    });
    if (!record.element.dispatchEvent(event)) return true;
    const opened = window.open(url, target || '_blank');
    return opened !== null && opened !== undefined;
  }

  // ---- Pausing out of sight. --------------------------------------------------------------
  // An applet whose page is hidden or whose area is out of view is held back: its UI loop is
  // not served until it is seen again (the bundle asks Module.qvPaused), so a page of applets
  // costs no CPU in the background. background="run" keeps it going; the menu's pause holds it
  // too.
  function schedule(record) {
    const hidden = document.visibilityState === 'hidden' || record.inView === false;
    const paused = record.userPaused || (hidden && !record.runsInBackground);
    if (paused === record.paused) return;
    record.paused = paused;
    if (record.module) record.module.qvPaused = paused;
    if (record.worker) record.post({ op: 'paused', paused });
    record.element.toggleAttribute('data-qv-paused', paused);
  }
  const viewWatcher = globalThis.IntersectionObserver ? new IntersectionObserver((entries) => {
    for (const entry of entries) {
      const record = records.get(Number(entry.target.dataset.qvNumber));
      if (!record) continue;
      record.inView = entry.isIntersecting;
      schedule(record);
    }
  }) : null;
  function watchSight(record) {
    record.paused = false;
    record.runsInBackground = /^run$/i.test(record.element.getAttribute('background') || '');
    if (viewWatcher) viewWatcher.observe(record.area);
  }
  document.addEventListener('visibilitychange', () => records.forEach(schedule));

  // ---- The player's menu: Shift + right click, or a long press; menu="false" has none. -------
  const longPressMilliseconds = 600;
  function debugInformation(record) {
    let renderer = record.renderer || '(none)';
    const context = (liveContexts.get(record.number) || [])[0];
    if (context && context.isContextLost && !context.isContextLost()) {
      const info = context.getExtension('WEBGL_debug_renderer_info');
      renderer = String(context.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : context.RENDERER));
    }
    return [`bundle: ${record.bundle ? record.bundle.script.href : '(none)'}`,
            `package: ${record.source}`, `state: ${record.state}${record.paused ? ' (paused)' : ''}` +
            `${record.code ? ` ${record.code}` : ''} ${record.message}`.trimEnd(),
            `thread: ${record.thread || '(none)'}`,
            `page: ${location.href}`, `browser: ${navigator.userAgent}`,
            `WebGL renderer: ${renderer}`].join('\n');
  }
  // A note over the area (about, or what could not be copied) with a button that closes it.
  function showNote(record, title, text) {
    const note = overlay(record, 'qv-note', 'background: #f4f5f7; color: #223; padding: 8px;' +
                         'z-index: 3;');
    const heading = document.createElement('strong');
    heading.textContent = title;
    const body = document.createElement('textarea');
    body.readOnly = true;
    body.value = text;
    body.style.cssText = 'width: 90%; flex: 1; margin: 6px 0; font: 11px monospace;';
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = 'Close';
    close.addEventListener('click', () => note.remove());
    note.append(heading, body, close);
    close.focus();
    return note;
  }
  function closeMenu(record) {
    if (record.menu) record.menu.remove();
    record.menu = null;
  }
  function openMenu(record, clientX, clientY) {
    closeMenu(record);
    const full = document.fullscreenElement === record.area;
    const choices = [
      [full ? 'Exit full screen' : 'Full screen', () => (full ? document.exitFullscreen()
        : record.area.requestFullscreen()).catch((e) => console.warn('[qv-applet]', e.message))],
      [record.userPaused ? 'Resume' : 'Pause', () => {
        record.userPaused = !record.userPaused;
        schedule(record);
      }],
      ['Copy debug information', () => {
        const text = debugInformation(record);
        navigator.clipboard.writeText(text).catch(() => showNote(record, 'Debug information', text));
      }],
      ['About', () => showNote(record, 'About', 'QV applet player for web pages.\n' +
                               debugInformation(record))],
    ];
    const box = record.area.getBoundingClientRect();
    const menu = document.createElement('div');
    menu.className = 'qv-menu';
    menu.setAttribute('role', 'menu');
    menu.style.cssText = 'position: absolute; z-index: 4; display: flex; flex-direction: column;' +
      'background: #fff; border: 1px solid #99a; box-shadow: 0 2px 8px rgba(0,0,0,.3);' +
      'font: 13px sans-serif; padding: 2px 0;' +
      `left: ${Math.max(0, Math.min(clientX - box.left, box.width - 180))}px;` +
      `top: ${Math.max(0, Math.min(clientY - box.top, box.height - 110))}px;`;
    for (const [label, act] of choices) {
      const item = document.createElement('button');
      item.type = 'button';
      item.setAttribute('role', 'menuitem');
      item.textContent = label;
      item.style.cssText = 'border: 0; background: none; text-align: left; padding: 4px 14px;' +
        'font: inherit; white-space: nowrap;';
      item.addEventListener('click', (event) => {
        event.stopPropagation();
        closeMenu(record);
        act();
      });
      menu.appendChild(item);
    }
    menu.addEventListener('keydown', (event) => {
      event.stopPropagation();
      if (event.key === 'Escape') closeMenu(record);
    });
    record.area.appendChild(menu);
    record.menu = menu;
    menu.firstChild.focus({ preventScroll: true });
  }
  function offerMenu(record) {
    const area = record.area;
    let press = null;
    const cancel = () => {
      if (press) clearTimeout(press.timer);
      press = null;
    };
    area.addEventListener('contextmenu', (event) => {
      if (!event.shiftKey || !record.hasMenu) return;
      event.preventDefault();
      event.stopPropagation();
      openMenu(record, event.clientX, event.clientY);
    }, true);
    // The click that ends a long press lands on the menu it opened: it chooses nothing.
    let pressed = false;
    area.addEventListener('click', (event) => {
      if (!pressed) return;
      pressed = false;
      event.stopPropagation();
      event.preventDefault();
    }, true);
    area.addEventListener('pointerdown', (event) => {
      pressed = false;
      if (record.menu && !record.menu.contains(event.target)) closeMenu(record);
      if (event.pointerType === 'mouse' || !record.hasMenu) return;
      cancel();
      press = { x: event.clientX, y: event.clientY, timer: setTimeout(() => {
        pressed = true;
        openMenu(record, event.clientX, event.clientY);
      }, longPressMilliseconds) };
    }, true);
    area.addEventListener('pointermove', (event) => {
      if (press && Math.hypot(event.clientX - press.x, event.clientY - press.y) > 10) cancel();
    }, true);
    area.addEventListener('pointerup', cancel, true);
    area.addEventListener('pointercancel', cancel, true);
    // Escape leaves full screen here too (headless and embedded browsers may not do it).
    area.addEventListener('keydown', (event) => {
      if (event.key !== 'Escape' || document.fullscreenElement !== area) return;
      event.preventDefault();
      event.stopPropagation();
      document.exitFullscreen().catch(() => {});
    }, true);
  }

  // ---- Saved files: the applet's folder survives a reload. -------------------------------
  // What the applet writes under its folder (@temp_path) is kept in IndexedDB per origin and
  // package, restored after the package is unpacked and before the applet starts, and saved when
  // it changed (every few seconds, when the page is hidden or left, when the applet ends).
  // persist="false" keeps nothing. exportFiles / importFiles move the kept files as a zip.
  let database = null;
  function openDatabase() {
    if (!database) {
      database = new Promise((resolve, reject) => {
        const request = indexedDB.open('qv-applet-files', 1);
        request.onupgradeneeded = () => request.result.createObjectStore('folders');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
      database.catch(() => {});
    }
    return database;
  }
  async function storeRequest(mode, act) {
    const db = await openDatabase();
    return new Promise((resolve, reject) => {
      const request = act(db.transaction('folders', mode).objectStore('folders'));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }
  const loadFolder = (key) => storeRequest('readonly', (store) => store.get(key));
  const storeFolder = (key, files) => storeRequest('readwrite', (store) => store.put(files, key));
  // A kept name is a relative path of plain parts, as a package's entries must be.
  function confinedName(name) {
    const parts = String(name).split('/');
    return name.length > 0 && name.length <= 1024 && parts.length <= 32 &&
      parts.every((part) => part && part !== '.' && part !== '..' && part.length <= 255 &&
                  !/[\\:\0]/.test(part));
  }
  // The applet's files changed since it started (or restored): name → {data, time}.
  function changedFiles(record) {
    const FS = record.module && record.module.FS;
    const files = {};
    if (!FS) return files;
    const walk = (folder, prefix) => {
      for (const name of FS.readdir(folder)) {
        if (name === '.' || name === '..') continue;
        const path = `${folder}/${name}`;
        const stat = FS.stat(path);
        if (FS.isDir(stat.mode)) walk(path, `${prefix}${name}/`);
        else if (stat.mtime.getTime() > record.filesBaseline || record.kept.has(prefix + name))
          files[prefix + name] = { time: stat.mtime.getTime(), size: stat.size };
      }
    };
    try { walk(record.directory, ''); } catch { /* the folder went with the applet */ }
    return files;
  }
  async function saveFiles(record) {
    if (!record.persist || !record.module || !record.module.FS) return;
    const files = changedFiles(record);
    const summary = JSON.stringify(files);
    if (summary === record.savedSummary) return;
    record.savedSummary = summary;
    const kept = {};
    for (const name of Object.keys(files).slice(0, savedFilesLimit))
      kept[name] = record.module.FS.readFile(`${record.directory}/${name}`);
    record.kept = new Set(Object.keys(kept));
    await (record.store ? record.store(kept) : storeFolder(record.storageKey, kept));
    record.savedAt = Date.now();
  }
  function writeFiles(record, files) {
    const FS = record.module.FS;
    for (const [name, data] of Object.entries(files || {})) {
      if (!confinedName(name)) continue;
      const path = `${record.directory}/${name}`;
      FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
      FS.writeFile(path, data);
      record.kept.add(name);
    }
  }
  function keepFiles(record) {
    record.kept = new Set();
    record.filesBaseline = Infinity;
    record.persist = !/^false$/i.test(record.element.getAttribute('persist') || '') &&
      !!globalThis.indexedDB;
    record.savedFiles = record.persist ? loadFolder(record.storageKey).catch(() => null)
      : Promise.resolve(null);
  }
  // After the package is unpacked: what was kept goes back over it; from now on changes count.
  function restoreFiles(record, files) {
    if (files) writeFiles(record, files);
    record.filesBaseline = Date.now();
    record.savedSummary = JSON.stringify(changedFiles(record));
    if (!record.persist) return;
    const save = () => saveFiles(record).catch((e) => console.warn('[qv-applet]', e.message || e));
    record.saveTimer = setInterval(save, saveEveryMilliseconds);
    record.saveNow = save;
  }
  const saveAll = () => records.forEach((record) => record.saveNow && record.saveNow());
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') saveAll();
  });
  window.addEventListener('pagehide', saveAll);

  // Zip archives of kept files: stored entries out, stored or deflated entries in.
  const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const crc32 = (bytes) => {
    let c = 0xFFFFFFFF;
    for (const b of bytes) c = crcTable[(c ^ b) & 0xFF] ^ (c >>> 8);
    return (c ^ 0xFFFFFFFF) >>> 0;
  };
  function zipFiles(files) {
    const parts = [];
    const central = [];
    let offset = 0;
    const header = (size) => new DataView(new ArrayBuffer(size));
    for (const [name, data] of Object.entries(files)) {
      const nameBytes = new TextEncoder().encode(name);
      const crc = crc32(data);
      const local = header(30);
      [[0, 0x04034b50, 4], [4, 20, 2], [6, 0x0800, 2], [14, crc, 4], [18, data.length, 4],
       [22, data.length, 4], [26, nameBytes.length, 2]].forEach(([at, value, size]) =>
        (size === 4 ? local.setUint32(at, value, true) : local.setUint16(at, value, true)));
      const entry = header(46);
      [[0, 0x02014b50, 4], [4, 20, 2], [6, 20, 2], [8, 0x0800, 2], [16, crc, 4],
       [20, data.length, 4], [24, data.length, 4], [28, nameBytes.length, 2], [42, offset, 4]]
        .forEach(([at, value, size]) =>
          (size === 4 ? entry.setUint32(at, value, true) : entry.setUint16(at, value, true)));
      parts.push(local, nameBytes, data);
      central.push(entry, nameBytes);
      offset += 30 + nameBytes.length + data.length;
    }
    const size = central.reduce((sum, part) => sum + part.byteLength, 0);
    const end = header(22);
    [[0, 0x06054b50, 4], [8, central.length / 2, 2], [10, central.length / 2, 2], [12, size, 4],
     [16, offset, 4]].forEach(([at, value, bytes]) =>
      (bytes === 4 ? end.setUint32(at, value, true) : end.setUint16(at, value, true)));
    return new Blob([...parts, ...central, end], { type: 'application/zip' });
  }
  // name → bytes of the archive's files; names that leave the folder and entries beyond the
  // limits fail the whole import, as a package that lies fails.
  async function unzipFiles(blob, byteLimit) {
    const bytes = new Uint8Array(await blob.arrayBuffer());
    const view = new DataView(bytes.buffer);
    let end = bytes.length - 22;
    while (end >= 0 && view.getUint32(end, true) !== 0x06054b50) --end;
    if (end < 0) throw new Error('not a zip archive');
    const count = view.getUint16(end + 10, true);
    if (count > savedFilesLimit) throw new Error(`more than ${savedFilesLimit} files`);
    let at = view.getUint32(end + 16, true);
    const files = {};
    let total = 0;
    for (let i = 0; i < count; ++i) {
      if (at + 46 > bytes.length || view.getUint32(at, true) !== 0x02014b50)
        throw new Error('damaged archive');
      const method = view.getUint16(at + 10, true);
      const packed = view.getUint32(at + 20, true);
      const size = view.getUint32(at + 24, true);
      const nameLength = view.getUint16(at + 28, true);
      const local = view.getUint32(at + 42, true);
      const name = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
      at += 46 + nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
      if (name.endsWith('/')) continue;
      if (!confinedName(name)) throw new Error(`the name ${JSON.stringify(name)} leaves the folder`);
      total += size;
      if (total > byteLimit) throw new Error(`more than ${byteLimit} bytes`);
      if (local + 30 > bytes.length) throw new Error('damaged archive');
      const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
      const data = bytes.subarray(start, start + packed);
      if (data.length !== packed) throw new Error('damaged archive');
      let content = data;
      if (method === 8) {
        const stream = new Blob([data]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
        content = new Uint8Array(await new Response(stream).arrayBuffer());
      } else if (method !== 0) {
        throw new Error(`${name}: compression ${method} is not read`);
      }
      if (content.length !== size) throw new Error(`${name}: its size lies`);
      files[name] = content;
    }
    return files;
  }
  async function exportFiles(element) {
    const record = element.qvApplet;
    if (record && record.worker) return zipFiles(await askWorker(record, { op: 'export' }));
    if (!record || !record.module || !record.module.FS) throw new Error('no running applet');
    const files = {};
    for (const name of Object.keys(changedFiles(record)))
      files[name] = record.module.FS.readFile(`${record.directory}/${name}`);
    return zipFiles(files);
  }
  async function importFiles(element, blob) {
    const record = element.qvApplet;
    if (!record || !(record.worker || (record.module && record.module.FS)))
      throw new Error('no running applet');
    const files = await unzipFiles(blob, unpackBudget());
    const bytes = Object.values(files).reduce((sum, data) => sum + data.length, 0);
    page.unpacked += bytes;
    if (record.worker) {
      await askWorker(record, { op: 'import', files });
      return Object.keys(files).length;
    }
    writeFiles(record, files);
    if (record.saveNow) await record.saveNow();
    return Object.keys(files).length;
  }

  // ---- One applet. ------------------------------------------------------------------------
  async function start(element) {
    if (element.qvApplet) return element.qvApplet;
    const source = appletSource(element) || '';
    // The parameters, as the page lists the attributes (before this script changes any), then
    // an <object>'s <param> children.
    const attributes = Array.from(element.attributes, (a) => [a.name, a.value]);
    if (element.localName === 'object')
      for (const param of objectParams(element))
        attributes.push([param.getAttribute('name'), param.getAttribute('value') || '']);
    const number = takeWindowNumber();
    const record = { number, element, state: 'loading', message: '', code: '', module: null,
                     directory: `/qv/applet-${number}`, packagePath: '', area: null,
                     source, width: side(element, 'width', defaultWidth),
                     height: side(element, 'height', defaultHeight), bundle: null };
    element.qvApplet = record;
    records.set(number, record);
    if (!source) {
      setState(record, 'loading');
      fail(record, 'QV-NO-SRC', 'the element has no src');
      return record;
    }
    record.area = makeArea(element, number, record.width, record.height);
    watchSight(record);
    record.hasMenu = !/^false$/i.test(element.getAttribute('menu') || '');
    offerMenu(record);
    if (/^false$/i.test(element.getAttribute('autoplay') || '')) {
      setState(record, 'waiting');
      await waitForPlay(record);
    }
    setState(record, 'loading');
    const progress = showSplash(record);
    try {
      if (location.protocol === 'file:')
        throw failure('QV-FILE-PAGE',
                      'the page was opened from a file; browsers fetch no applet for it');
      // A percentage of a container without that size (a height in a block of auto height)
      // comes out as nothing: the default size then.
      let box = record.area.getBoundingClientRect();
      if (box.width < 1) record.area.style.width = `${defaultWidth}px`;
      if (box.height < 1) record.area.style.height = `${defaultHeight}px`;
      box = record.area.getBoundingClientRect();
      const width = Math.min(Math.round(box.width) || defaultWidth, maximumSide);
      const height = Math.min(Math.round(box.height) || defaultHeight, maximumSide);
      const canvas = record.area.querySelector('canvas');
      canvas.width = width;
      canvas.height = height;
      const packageUrl = new URL(source, document.baseURI);
      const bundle = locateBundle(element, source);
      if (!allowedBundle(bundle.script))
        throw failure('QV-ORIGIN', `the applet bundle ${bundle.script.href} is not of this ` +
                      `page's origin (${pageOrigin()}) nor in QVApplets.config.allowedBundleOrigins`);
      record.storageKey = packageUrl.href.replace(/#.*$/, '');
      keepFiles(record);
      const fileName = decodeURIComponent(packageUrl.pathname.split('/').pop()) || 'applet.qva';
      const folder = record.directory;
      record.packagePath = `${folder}/${fileName.replace(/[\/\\]/g, '_')}`;
      // The bundle's script and code and the package load at once; a failure is told in this
      // order (the bundle, its code, the package), and none is left unhandled.
      const bundleProgress = progress('bundle');
      // The bundle's script is loaded where the applet will run: in the bundle's worker, or in
      // the page when there is none.
      const wanted = wantsWorker(record);
      const loadBundle = (place) => {
        record.bundle = place;
        const code = compileBundle(place, bundleProgress);
        code.catch(() => {});
        const onPage = () => loadFactory(place).then((factory) => ({ factory }));
        const script = wanted ? workerFor(place.script.href).then((worker) =>
          (worker ? loadInWorker(worker, place).then(() => ({ worker })) : onPage())) : onPage();
        return script.then(async (loaded) => [loaded, await code]);
      };
      const bundleLoad = (async () => {
        try {
          return await loadBundle(bundle);
        } catch (error) {
          const second = bundle.second;
          if (error.qvCode !== 'QV-NO-BUNDLE' || !second || !allowedBundle(second.script)) throw error;
          try {
            return await loadBundle(second);
          } catch (again) {
            if (again.qvCode !== 'QV-NO-BUNDLE') throw again;
            throw failure('QV-NO-BUNDLE', `${error.message}, nor ${second.script.href}`);
          }
        }
      })();
      bundleLoad.catch(() => {});
      const packageLoad = fetchOk(packageUrl, 'QV-NOT-FOUND', 'the package')
        .then((response) => receive(response, progress('package')));
      packageLoad.catch(() => {});
      const [[{ factory, worker }, code], bytes] = [await bundleLoad, await packageLoad];
      const savedFiles = await record.savedFiles;
      const place = record.bundle;
      splashStarting(record);
      const args = [record.packagePath, String(number), String(width), String(height)];
      for (const [name, value] of attributes) args.push(name, value);
      record.thread = worker ? 'worker' : 'page';
      if (worker) {
        startInWorker(record, worker, { script: place.script.href, factoryName: place.factoryName,
                                       code, args, bytes, savedFiles });
        return record;
      }
      const prefix = `[qv-applet ${number}]`;
      let abandon;
      const abandoned = new Promise((resolve, reject) => { abandon = reject; });
      const config = {
        arguments: args,
        locateFile: (file) => new URL(file, place.script).href,
        instantiateWasm: (imports, ready) => {
          WebAssembly.instantiate(code, imports).then((instance) => ready(instance, code),
            (error) => abandon(error instanceof RangeError
              ? failure('QV-MEMORY', `out of memory: ${error.message}`)
              : failure('QV-BAD-BUNDLE', `cannot instantiate ${place.code.href}: ${error.message}`)));
          return {};
        },
        print: (text) => console.log(prefix, text),
        printErr: (text) => console.warn(prefix, text),
        preRun: [() => {
          config.FS.mkdirTree(folder);
          config.FS.writeFile(record.packagePath, bytes);
        }],
        onAbort: (what) => {
          pendingAborts.set(`Aborted(${what})`, record);
          const memory = /memory|enlarge/i.test(String(what));
          fail(record, memory ? 'QV-MEMORY' : 'QV-FAILED', `aborted: ${what}`);
        },
        qvOpenURL: (element, url, target) => openURL(record, url, target),
        qvAppletState: (element, state, message, code) => appletState(record, state, message, code),
        qvPaused: record.paused,
        // Sharp pictures at the screen's density (the UI manager caps it at 2) unless hidpi="false".
        qvPixelRatio: /^false$/i.test(element.getAttribute('hidpi') || '') ? 1 : undefined,
        qvUnpackBudget: () => unpackBudget(),
        qvUnpacked: (element, bytes) => {
          page.unpacked += Math.max(0, Number(bytes) || 0);
          restoreFiles(record, savedFiles);
        },
      };
      record.module = config;
      await Promise.race([factory(config), abandoned]);
    } catch (error) {
      console.warn(`[qv-applet ${number}]`, error.message || error);
      const message = String(error.message || error);
      if (error.qvCode) fail(record, error.qvCode, message);
      else fail(record, /memory/i.test(message) ? 'QV-MEMORY' : 'QV-FAILED', message);
    }
    return record;
  }

  // What the bundle says of the applet's state.
  function appletState(record, state, message, code) {
    if (state !== 'running' && record.chargedDone) record.chargedDone();
    if (state === 'failed') return fail(record, code || 'QV-FAILED', message);
    if (record.state === 'failed') return;
    // A module-load message comes as a second "running": the first frame is awaited once.
    const entering = record.state !== state;
    setState(record, state, message);
    if (state === 'running' && entering) awaitFirstFrame(record);
    if (state === 'ended') {
      releaseContexts(record);
      if (record.saveNow) record.saveNow();
      clearInterval(record.saveTimer);
    }
  }

  // ---- Applets in workers. ----------------------------------------------------------------
  // Applets run in workers (this script, loaded as one; one worker per bundle, whose code it
  // loads once and whose applets it runs side by side, as the page's thread did), so that their
  // loops and drawing leave the page's thread free (QVApplets.config.workers = false, or the
  // attribute thread="main", keeps them on the page's thread). Window canvases are handed over
  // (transferControlToOffscreen) when the applet makes a WebGL context; elements, events,
  // message boxes, states and saved files go by messages, addressed by the applet's number.
  // Where a worker cannot be had (a policy refusing workers, a browser without OffscreenCanvas,
  // this script from another origin) the applet runs on the page's thread as before.
  function wantsWorker(record) {
    return api.config.workers !== false && typeof Worker === 'function' && ownScript &&
      typeof QVUIElements === 'function' &&
      ownScript.origin === pageOrigin() && typeof OffscreenCanvas === 'function' &&
      typeof HTMLCanvasElement.prototype.transferControlToOffscreen === 'function' &&
      !/^main$/i.test(record.element.getAttribute('thread') || '');
  }

  // The worker of a bundle once it said it is ready, or null (refused by the page's policy,
  // failed to load).
  const bundleWorkers = new Map();  // bundle script URL → Promise of its worker or null
  function workerFor(script) {
    if (bundleWorkers.has(script)) return bundleWorkers.get(script);
    const ready = new Promise((resolve) => {
      let worker;
      try {
        worker = new Worker(ownScript.href);
      } catch (error) {
        console.info('[qv-applet] no worker, applets run on the page\'s thread:', error.message);
        return resolve(null);
      }
      let started = false;
      worker.qvLoads = new Map();  // script → what the worker said of loading it
      worker.onmessage = (event) => {
        const message = event.data || {};
        if (!started) {
          started = message.op === 'ready';
          return resolve(started ? worker : null);
        }
        if (message.op === 'loaded') {
          const loaded = worker.qvLoads.get(message.script);
          return loaded && loaded(message);
        }
        const record = records.get(message.applet);
        if (record && record.worker === worker) workerMessage(record, message);
      };
      worker.onerror = (event) => {
        event.preventDefault();
        if (!started) {
          console.info('[qv-applet] no worker, applets run on the page\'s thread');
          return resolve(null);
        }
        // Which applet of the worker failed is unknown when several run: only a lone one fails.
        const own = Array.from(records.values()).filter((r) => r.worker === worker);
        if (own.length === 1)
          fail(own[0], /memory/i.test(event.message) ? 'QV-MEMORY' : 'QV-FAILED', event.message);
      };
    });
    bundleWorkers.set(script, ready);
    return ready;
  }

  // Loads the bundle's script in its worker (once), failing as loadFactory does. A worker whose
  // bundle is missing ends.
  function loadInWorker(worker, bundle) {
    const script = bundle.script.href;
    if (!worker.qvLoading) worker.qvLoading = new Promise((resolve, reject) => {
      worker.qvLoads.set(script, (answer) => {
        if (!answer.code) return resolve();
        worker.terminate();
        bundleWorkers.delete(script);
        reject(failure(answer.code, answer.message));
      });
      worker.postMessage({ op: 'load', script, factoryName: bundle.factoryName });
    });
    return worker.qvLoading;
  }

  // Questions to the worker that it answers with the same ticket.
  let nextTicket = 1;
  function askWorker(record, message) {
    const ticket = nextTicket++;
    return new Promise((resolve, reject) => {
      record.waiting.set(ticket, { resolve, reject });
      record.post({ ...message, ticket });
    });
  }

  function startInWorker(record, worker, { script, factoryName, code, args, bytes, savedFiles }) {
    record.worker = worker;
    record.post = (message, transfer) =>
      worker.postMessage({ ...message, applet: record.number }, transfer || []);
    record.waiting = new Map();
    record.items = new Set([record.number]);
    record.boxes = new Map();
    const scale = /^false$/i.test(record.element.getAttribute('hidpi') || '') ? 1
      : Math.min(Math.max(globalThis.devicePixelRatio || 1, 1), 2);
    // The applet's elements are made here, with the UI manager's own code; their events go to
    // the worker's queue.
    record.ui = QVUIElements({
      push: (event) => {
        record.post({ op: 'event', event });
        return true;
      },
      root: () => document.body,
      pixelScale: () => scale,
      // A canvas handed to the worker is sized there, with the window's OnSize.
      resized: (canvas, width, height) => {
        if (!canvas.qvTransferred) record.ui.sizeCanvas(canvas, width, height);
      },
    });
    record.module = { qvPaused: record.paused, qvNoBoxes: false };
    // The applet's file system is the worker's: a file of its folder, as text, on request, a
    // file written there as the applet would, and the frames it drew (debugging, tests).
    record.readFile = (name) => askWorker(record, { op: 'read', name: String(name) });
    record.writeFile = (name, text) => askWorker(record, { op: 'write', name: String(name),
                                                           text: String(text) });
    record.framesDrawn = () => askWorker(record, { op: 'frames' });
    // The backing sizes of its WebGL canvases, [width, height] each: a handed-over canvas is
    // sized in the worker and the page cannot read it.
    record.canvasSizes = () => askWorker(record, { op: 'canvasSizes' });
    if (record.persist) record.saveNow = () => record.post({ op: 'save' });
    watchRemovals();
    record.post({
      op: 'start', script, factoryName, code, args, bytes, savedFiles, directory: record.directory,
      paused: record.paused, pixelRatio: scale, persist: record.persist,
    }, [bytes.buffer]);
  }

  // What a worker sends is a hostile bundle's as much as a buggy one's: fields of any type,
  // texts and sizes of any length, none of which may throw on the page or reach past the
  // applet's own elements. Texts are cut, positions and sizes kept within a screen's reach.
  const longestWorkerText = 1 << 16;
  const farthestPixel = 1 << 15;
  const workerText = (value) => (typeof value === 'string' ? value : String(value ?? ''))
    .slice(0, longestWorkerText);
  const workerPixels = (value, least) =>
    Math.min(Math.max(Math.round(Number(value)) || 0, least), farthestPixel);
  // The host side refuses script URLs before they leave the worker; a bundle that posts its own
  // messages is refused here too. The browser drops blanks and controls from a scheme.
  const scriptURL = (url) =>
    /^(javascript|vbscript|data):/i.test(url.replace(/[\u0000-\u0020]/g, ''));
  // Message boxes one applet may have open at once: more are answered as closed.
  const mostWorkerBoxes = 4;

  function workerMessage(record, message) {
    const worker = { postMessage: record.post };
    switch (message.op) {
      case 'ui': {
        // An applet in a worker reaches the page only through its own elements: its host, what
        // it made, and new windows of the page's body.
        const args = Array.isArray(message.args) ? message.args : [];
        const [id, ...rest] = args;
        if (message.call === 'create') {
          const [kind, parent, x, y, width, height, colour, text] = args;
          const made = parent === 0 || record.items.has(parent)
            ? record.ui.create(Number(kind) | 0, parent, workerPixels(x, -farthestPixel),
                               workerPixels(y, -farthestPixel), workerPixels(width, 0),
                               workerPixels(height, 0), (Number(colour) >>> 0) & 0xffffff,
                               workerText(text))
            : 0;
          if (made) record.items.add(made);
          worker.postMessage({ op: 'created', ticket: message.ticket, id: made });
        } else if (!record.items.has(id)) {
          break;
        } else if (message.call === 'setText') {
          const element = record.ui.element(id);
          if (element) record.ui.setText(element, workerText(rest[0]));
        } else if (message.call === 'setVisible') {
          record.ui.setVisible(id, !!rest[0], !!rest[1]);
        } else if (message.call === 'attach') {
          record.ui.attach(id);
        } else if (message.call === 'remove') {
          const element = record.ui.element(id);
          if (element) element.remove();
        }
        break;
      }
      case 'canvas': {
        // The worker makes a WebGL context on the window's canvas: counted as on the page.
        const canvas = record.items.has(message.id) &&
          document.getElementById(`qvwin-${message.id}-canvas`);
        let offscreen = null;
        if (!canvas || canvas.qvTransferred) {
          fail(record, 'QV-FAILED', `the window ${message.id} has no canvas to draw in`);
        } else if (contextsInUse() >= Number(api.config.maxWebGLContexts || 16)) {
          fail(record, 'QV-WEBGL-LIMIT', `no WebGL context: the page's applets hold ${contextsInUse()}`);
        } else {
          offscreen = canvas.transferControlToOffscreen();
          canvas.qvTransferred = true;
          // The context is the worker's: counted here by its canvas, lost when the worker ends.
          liveContexts.set(record.number, [...(liveContexts.get(record.number) || []), { canvas }]);
          page.contexts += 1;
        }
        worker.postMessage({ op: 'canvas', id: message.id, canvas: offscreen,
                             scale: canvas ? Number(canvas.dataset.qvScale) || 1 : 1 },
                           offscreen ? [offscreen] : []);
        break;
      }
      case 'box': {
        const answer = (result) =>
          worker.postMessage({ op: 'answer', number: message.number, result });
        if (record.boxes.has(message.number) || record.boxes.size >= mostWorkerBoxes) {
          answer(2);
          break;
        }
        const buttons = [0, 1, 2].includes(message.buttons) ? message.buttons : 0;
        const box = record.ui.openBox(workerText(message.text), workerText(message.caption),
                                      buttons, answer);
        record.boxes.set(message.number, box);
        break;
      }
      case 'boxClose':
        record.ui.closeBox(record.boxes.get(message.number));
        record.boxes.delete(message.number);
        break;
      case 'print':
        (message.error ? console.warn : console.log)(`[qv-applet ${record.number}]`, message.text);
        break;
      case 'state':
        appletState(record, workerText(message.state), workerText(message.message),
                    workerText(message.code));
        break;
      case 'openURL':
        if (typeof message.url === 'string' && !scriptURL(message.url))
          openURL(record, message.url, typeof message.target === 'string' ? message.target : '');
        break;
      case 'budget': {
        // One applet at a time asks and charges, as on the page's thread; the next one's turn
        // comes when this one has charged, ended or failed.
        let done;
        record.charged = new Promise((resolve) => { done = resolve; });
        record.chargedDone = done;
        const previous = page.unpackTurn || Promise.resolve();
        page.unpackTurn = previous.then(() => record.charged);
        previous.then(() => {
          record.granted = unpackBudget();
          worker.postMessage({ op: 'budget', bytes: record.granted });
        });
        break;
      }
      case 'unpacked':
        // No more than it was given: a worker claiming more would starve the page's others.
        page.unpacked += Math.min(Math.max(0, Number(message.bytes) || 0), record.granted || 0);
        record.granted = 0;
        if (record.chargedDone) record.chargedDone();
        break;
      case 'store':
        storeFolder(record.storageKey, message.files).then(() => { record.savedAt = Date.now(); },
          (error) => console.warn('[qv-applet]', error.message || error));
        break;
      case 'renderer':
        record.renderer = message.renderer;
        break;
      case 'noWebGL':
        fail(record, 'QV-NO-WEBGL', 'the browser gave the applet no WebGL context');
        break;
      case 'failed':
        fail(record, workerText(message.code) || 'QV-FAILED', workerText(message.message));
        break;
      case 'reply': {
        const waiting = record.waiting.get(message.ticket);
        record.waiting.delete(message.ticket);
        if (!waiting) break;
        if (message.error) waiting.reject(new Error(message.error));
        else waiting.resolve(message.value);
        break;
      }
      default:
        break;
    }
  }

  // Elements of worker applets that leave the page: their loops end as on the page's thread.
  let removalWatcher = null;
  function watchRemovals() {
    if (removalWatcher) return;
    removalWatcher = new MutationObserver(() => {
      for (const record of records.values()) {
        if (!record.worker) continue;
        const gone = Array.from(record.items).filter((id) => {
          const element = document.getElementById(`qvwin-${id}`);
          return !element || !element.isConnected;
        });
        if (!gone.length) continue;
        gone.forEach((id) => record.items.delete(id));
        record.post({ op: 'gone', ids: gone });
      }
    });
    removalWatcher.observe(document.documentElement, { childList: true, subtree: true });
  }

  // ---- The worker's side. ------------------------------------------------------------------
  // This script in a worker: it says it is ready, then runs the applets the page starts in it
  // (the bundle's compiled code and the package come with each start; the bundle's script is
  // loaded once), each with its files in its own bundle instance's file system, and tells the
  // page, addressed by the applet's number, what the page script's callbacks would be told.
  function runInWorker() {
    const applets = new Map();  // N → { config, files (the record of the saved files), ... }
    const loaded = new Set();  // bundle scripts loaded
    const send = (number, message, transfer) =>
      postMessage({ ...message, applet: number }, transfer || []);
    const report = (number, error, code) => {
      const message = String((error && error.message) || error);
      send(number, { op: 'failed', message,
                     code: code || (/memory/i.test(message) ? 'QV-MEMORY' : 'QV-FAILED') });
    };
    // An error of the worker is the lone applet's; of several, which one threw is unknown.
    const uncaught = (event, error) => {
      event.preventDefault();
      if (applets.size === 1) report(applets.keys().next().value, error);
      else console.warn('[qv-applet]', error);
    };
    self.addEventListener('error', (event) => uncaught(event, event.error || event.message));
    self.addEventListener('unhandledrejection', (event) => uncaught(event, event.reason));
    // Frames drawn (the applet clears its canvas once a frame), by the canvas's applet.
    const clear = WebGLRenderingContext.prototype.clear;
    WebGLRenderingContext.prototype.clear = function (mask) {
      const applet = applets.get(this.canvas && this.canvas.qvApplet);
      if (applet) ++applet.frames;
      return clear.call(this, mask);
    };
    // The page counts the contexts; the worker tells it the renderer (debug information) or that
    // the browser gave none.
    const getContext = OffscreenCanvas.prototype.getContext;
    OffscreenCanvas.prototype.getContext = function (type, ...rest) {
      const context = getContext.call(this, type, ...rest);
      if (!/^(experimental-)?webgl2?$/.test(type) || !this.qvApplet) return context;
      if (!context) {
        send(this.qvApplet, { op: 'noWebGL' });
        return null;
      }
      const applet = applets.get(this.qvApplet);
      if (applet) applet.contexts.push(context);
      const info = context.getExtension('WEBGL_debug_renderer_info');
      send(this.qvApplet, { op: 'renderer', renderer: String(context.getParameter(info
        ? info.UNMASKED_RENDERER_WEBGL : context.RENDERER)) });
      return context;
    };
    const answer = async (number, ticket, act) => {
      try {
        send(number, { op: 'reply', ticket, value: await act() });
      } catch (error) {
        send(number, { op: 'reply', ticket, error: String(error.message || error) });
      }
    };
    // The bundle's script, once: what went wrong, or nothing.
    const load = (script, factoryName) => {
      try {
        if (!loaded.has(script)) importScripts(script);
        loaded.add(script);
      } catch (error) {
        return { code: 'QV-NO-BUNDLE', message: `cannot load the applet bundle ${script}` };
      }
      if (typeof self[factoryName] !== 'function')
        return { code: 'QV-NO-FACTORY', message: `${script} defines no ${factoryName}` };
      return {};
    };
    const begin = (number, start) => {
      const failed = load(start.script, start.factoryName);
      if (failed.code) return report(number, failed.message, failed.code);
      const factory = self[start.factoryName];
      const post = (message, transfer) => send(number, message, transfer);
      const files = { module: null, kept: new Set(), filesBaseline: Infinity,
                      directory: start.directory, persist: start.persist,
                      store: (kept) => post({ op: 'store', files: kept }) };
      const applet = { files, frames: 0, budget: null, contexts: [] };
      const config = {
        arguments: start.args,
        locateFile: (file) => new URL(file, start.script).href,
        instantiateWasm: (imports, ready) => {
          WebAssembly.instantiate(start.code, imports).then((instance) => ready(instance, start.code),
            (error) => report(number, `cannot instantiate the applet bundle: ${error.message}`,
                              error instanceof RangeError ? 'QV-MEMORY' : 'QV-BAD-BUNDLE'));
          return {};
        },
        // The applet's output reaches the page's console, as on the page's thread.
        print: (text) => post({ op: 'print', text }),
        printErr: (text) => post({ op: 'print', text, error: true }),
        preRun: [() => {
          config.FS.mkdirTree(start.directory);
          config.FS.writeFile(start.args[0], start.bytes);
        }],
        onAbort: (what) => report(number, `aborted: ${what}`,
                                  /memory|enlarge/i.test(String(what)) ? 'QV-MEMORY' : 'QV-FAILED'),
        // The page opens it; whether the browser let it is not waited for.
        qvOpenURL: (element, url, target) => {
          post({ op: 'openURL', url, target });
          return true;
        },
        qvAppletState: (element, state, message, code) => {
          post({ op: 'state', state, message, code });
          if (state === 'ended' && files.saveNow) files.saveNow();
        },
        qvPaused: start.paused,
        qvPixelRatio: start.pixelRatio,
        // The page's budget, given in turn: -2 until the page answers.
        qvUnpackBudget: () => {
          if (applet.budget === null) {
            applet.budget = -2;
            post({ op: 'budget' });
          }
          return applet.budget;
        },
        qvUnpacked: (element, bytes) => {
          post({ op: 'unpacked', bytes });
          restoreFiles(files, start.savedFiles);
        },
        qvPost: post,
      };
      applet.config = config;
      files.module = config;
      applets.set(number, applet);
      Promise.resolve(factory(config)).catch((error) => report(number, error));
    };
    self.onmessage = (event) => {
      const message = event.data || {};
      const number = message.applet;
      if (message.op === 'load')
        return postMessage({ op: 'loaded', script: message.script,
                             ...load(message.script, message.factoryName) });
      if (message.op === 'start') return begin(number, message);
      const applet = applets.get(number);
      if (!applet) return;
      const { config, files } = applet;
      const path = `${files.directory}/${message.name}`;
      switch (message.op) {
        case 'paused': config.qvPaused = message.paused; break;
        case 'budget': applet.budget = message.bytes; break;
        case 'noBoxes': config.qvNoBoxes = true; break;
        case 'save': if (files.saveNow) files.saveNow(); break;
        case 'export':
          answer(number, message.ticket, () => {
            const kept = {};
            for (const name of Object.keys(changedFiles(files)))
              kept[name] = config.FS.readFile(`${files.directory}/${name}`);
            return kept;
          });
          break;
        case 'import':
          answer(number, message.ticket, async () => {
            writeFiles(files, message.files);
            if (files.saveNow) await files.saveNow();
            return true;
          });
          break;
        case 'read':
          answer(number, message.ticket, () => config.FS.readFile(path, { encoding: 'utf8' }));
          break;
        case 'write':
          answer(number, message.ticket, () => {
            config.FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
            config.FS.writeFile(path, message.text);
            return true;
          });
          break;
        case 'frames': answer(number, message.ticket, () => applet.frames); break;
        case 'canvasSizes':
          answer(number, message.ticket,
                 () => applet.contexts.map((c) => [c.canvas.width, c.canvas.height]));
          break;
        case 'loseContexts':
          for (const context of applet.contexts) {
            const loser = context.getExtension('WEBGL_lose_context');
            if (loser) loser.loseContext();
          }
          applet.contexts = [];
          break;
        default:
          // The UI manager's: events, made elements, box answers, canvases.
          if (message.op === 'canvas' && message.canvas) message.canvas.qvApplet = number;
          if (config.qvReceive) config.qvReceive(message);
      }
    };
    postMessage({ op: 'ready' });
  }

  // ---- Finding applets, also later and in frames. -----------------------------------------
  // A frame of this page's origin gets this script too, which plays the applets of its document.
  function adoptFrame(frame) {
    const inject = () => {
      let frameDocument;
      try {
        frameDocument = frame.contentDocument;
      } catch {
        return;
      }
      if (!frameDocument || !ownScript || frame.contentWindow.QVApplets) return;
      // The frame's first, empty document is replaced when its page loads.
      if (frameDocument.URL === 'about:blank' && (frame.getAttribute('src') ||
                                                  frame.hasAttribute('srcdoc'))) return;
      if (frameDocument.querySelector('script[data-qv-player]')) return;
      const tag = frameDocument.createElement('script');
      tag.src = ownScript.href;
      tag.setAttribute('data-qv-player', '');
      (frameDocument.head || frameDocument.documentElement).appendChild(tag);
    };
    if (!frame.qvAdopted) frame.addEventListener('load', inject);
    frame.qvAdopted = true;
    inject();
  }

  function scan(root) {
    if (root.nodeType !== 1 && root.nodeType !== 9) return;
    const found = root.nodeType === 1 && root.matches(selector) ? [root] : [];
    found.push(...root.querySelectorAll(selector));
    for (const element of found)
      if (appletSource(element) !== null && !insideApplet(element)) start(element);
    const frames = root.nodeType === 1 && root.localName === 'iframe' ? [root] : [];
    frames.push(...root.querySelectorAll('iframe'));
    frames.forEach(adoptFrame);
  }

  // ---- Old detection scripts: the page answers as a browser with the plug-in would. ---------
  function announcePlugin() {
    const plugin = { name: 'npqvarunner', description: 'npqvarunner', filename: 'npqvarunner.dll',
                     version: '1.0.0.1', length: 1 };
    const mime = { type: appletType, suffixes: 'qva', description: 'Quarvo Applet (*.qva)',
                   enabledPlugin: plugin };
    plugin[0] = mime;
    plugin[appletType] = mime;
    plugin.item = (i) => (Number(i) === 0 ? mime : null);
    plugin.namedItem = (name) => (name === appletType ? mime : null);
    const extend = (original, added, key) => {
      const entries = Array.from(original || []).filter((e) => e[key] !== added[key]);
      entries.push(added);
      const list = { length: entries.length };
      entries.forEach((entry, i) => {
        list[i] = entry;
        if (!(entry[key] in list)) list[entry[key]] = entry;
      });
      list.item = (i) => entries[Number(i)] || null;
      list.namedItem = (name) => entries.find((e) => e[key] === name) || null;
      list.refresh = () => {};
      list[Symbol.iterator] = () => entries[Symbol.iterator]();
      return list;
    };
    try {
      Object.defineProperty(navigator, 'plugins',
        { value: extend(navigator.plugins, plugin, 'name'), configurable: true });
      Object.defineProperty(navigator, 'mimeTypes',
        { value: extend(navigator.mimeTypes, mime, 'type'), configurable: true });
    } catch {
      // A browser that keeps them: detection scripts take their other path.
    }
  }

  function begin() {
    scan(document);
    new MutationObserver((changes) => {
      for (const change of changes) change.addedNodes.forEach((node) => scan(node));
    }).observe(document.documentElement, { childList: true, subtree: true });
  }

  const api = {
    // The page's settings: allowedBundleOrigins (origins such as "https://cdn.example.com" that
    // may serve bundles besides the page's own), unpackLimit (bytes all applets of the page
    // may unpack together, at most 1 GiB) and maxWebGLContexts (applets with a WebGL context at
    // once; 16).
    get config() { return settings; },
    set config(value) { settings = value; },
    // Starts the applet of an element now (once); resolves to its record.
    start,
    // The record of applet N.
    get: (number) => records.get(number),
    // Every applet started on this page.
    all: () => Array.from(records.values()),
    // Failure codes → [title, what to do].
    failures,
    // The files the element's applet keeps, as a zip Blob; and a zip of them put back.
    exportFiles,
    importFiles,
    [pageKey]: page,
  };
  globalThis.QVApplets = api;
  announcePlugin();
  watchWebGL();

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', begin);
  else begin();
})();
