// qvapplet.js: runs QV applets in a web page. Include it once:
//
//   <script src="qvapplet.js"></script>
//   <embed type="application/qv-applet" src="hello.qva" width="320" height="200">
//   <qv-applet src="spinner.qva" width="320" height="240" speed="4"></qv-applet>
//
// When the document has been parsed, and for every such element added later, it
//  1. gives the applet its area: an inline box of the element's width and height (attributes, in
//     CSS pixels; 320 x 200 when absent) holding the host element, a <div id="qvwin-N">, whose
//     number N the applet's window is made a child of (an <embed> is hidden and the area put
//     after it; a <qv-applet> holds its area);
//  2. loads the applet's web bundle: the attribute bundle="path/name" names it (path/name.js and
//     path/name.wasm, relative to the page); without it the package's own name is used
//     ("applets/hello.qva" → "applets/hello.js"). Every bundle defines the factory
//     QVApplet_<name>; one instance of it runs per element. A bundle runs with the page's
//     rights, and markup (the page's own, or what its script inserts from elsewhere) must not
//     choose what runs: bundles load only over http(s) from the page's own origin, or from an
//     origin the page's script lists in QVApplets.config.allowedBundleOrigins
//     (e.g. ["https://cdn.example.com"]); an element naming any other fails;
//  3. fetches the package (src) and writes it into the instance's virtual file system, in a
//     folder of its own ("/qv/applet-N/<file name>");
//  4. starts the bundle's main with the package path, N, the size and the element's attributes
//     in the page's order; the applet then unpacks, loads and runs as in the browser plug-in.
//
// The applet's OpenURL(url, target) dispatches a cancelable "qv-openurl" CustomEvent on the
// element (detail: {url, target}; it bubbles). Unless a handler calls preventDefault(), the URL
// is opened in the named target with window.open(url, target). "javascript:", "vbscript:" and
// "data:" URLs are refused in the bundle and never reach the page.
//
// All applets of the page together unpack at most 1 GiB (their files live in the tab's memory),
// or less when the page's script sets QVApplets.config.unpackLimit (bytes): each bundle asks
// for what is left when it unpacks and reports what it took.
//
// Progress is visible on the element: its attribute data-qv-state becomes "loading", "running",
// "ended" or "failed", and a "qv-applet" CustomEvent (detail: {state, message}) is dispatched
// at every change. element.qvApplet holds the instance's record (number N, state, the bundle's
// module object with its file system FS, the package's folder and path).
(function () {
  'use strict';
  if (globalThis.QVApplets) return;

  const appletType = 'application/qv-applet';
  const selector = `embed[type="${appletType}"], qv-applet`;
  const defaultWidth = 320;
  const defaultHeight = 200;
  const bundles = new Map();  // bundle script URL → Promise of its factory
  const records = new Map();  // N → record
  const pageUnpackLimit = 2 ** 30;
  let unpacked = 0;  // bytes the page's applets have unpacked
  // What the page's script may set as QVApplets.config (markup cannot reach it).
  const settings = { allowedBundleOrigins: [], unpackLimit: pageUnpackLimit };

  // A size attribute: a whole number of CSS pixels ("240" or "240px"), else the default.
  function size(element, name, fallback) {
    const match = /^\s*(\d+)(px)?\s*$/i.exec(element.getAttribute(name) || '');
    return match ? Math.min(parseInt(match[1], 10), 16384) : fallback;
  }

  function takeWindowNumber() {
    globalThis.__qvNextWindowId = globalThis.__qvNextWindowId || 1;
    return globalThis.__qvNextWindowId++;
  }

  // Where the bundle of an element lies and the name of its factory.
  function locateBundle(element, source) {
    let base = element.getAttribute('bundle');
    if (!base) base = source.replace(/[?#].*$/, '').replace(/\.qva$/i, '');
    const script = new URL(base.replace(/\.js$/i, '') + '.js', document.baseURI);
    const name = decodeURIComponent(script.pathname.split('/').pop()).replace(/\.js$/i, '');
    return { script, factoryName: 'QVApplet_' + name.replace(/[^A-Za-z0-9_]/g, '_') };
  }

  // Whether a bundle script may run in this page (see the header). The origin is the page's
  // location, not its base URL, which inserted markup can change.
  function allowedBundle(url) {
    if (url.protocol !== 'http:' && url.protocol !== 'https:') return false;
    if (url.origin === location.origin) return true;
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
    return Math.max(0, cap - unpacked);
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
        tag.onload = () => ready() ? resolve(globalThis[bundle.factoryName])
          : reject(new Error(`${key} defines no ${bundle.factoryName}`));
        tag.onerror = () => reject(new Error(`cannot load the applet bundle ${key}`));
        document.head.appendChild(tag);
      }));
    }
    return bundles.get(key);
  }

  function setState(record, state, message) {
    record.state = state;
    record.message = message || '';
    record.element.setAttribute('data-qv-state', state);
    record.element.dispatchEvent(new CustomEvent('qv-applet', {
      detail: { state, message: record.message }, bubbles: true,
    }));
  }

  // The applet's area and its host element "qvwin-N" (a <div> positioned in the area, with a
  // canvas filling it as its first child, as every window of the web UI manager).
  function makeArea(element, number, width, height) {
    const area = document.createElement('span');
    area.className = 'qv-applet-area';
    area.style.cssText = `display: inline-block; position: relative; vertical-align: top;` +
      `width: ${width}px; height: ${height}px; overflow: hidden;`;
    const host = document.createElement('div');
    host.id = `qvwin-${number}`;
    host.style.cssText = `position: absolute; left: 0; top: 0; width: ${width}px; height: ${height}px;`;
    const canvas = document.createElement('canvas');
    canvas.id = `qvwin-${number}-canvas`;
    canvas.width = width;
    canvas.height = height;
    canvas.style.cssText = 'position: absolute; left: 0; top: 0; width: 100%; height: 100%;';
    host.appendChild(canvas);
    area.appendChild(host);
    if (element.localName === 'embed') {
      element.style.display = 'none';
      element.after(area);
    } else {
      element.style.display = 'inline-block';
      element.appendChild(area);
    }
    return area;
  }

  // OpenURL of the applet: the page's handler first, then the browser.
  function openURL(record, url, target) {
    const event = new CustomEvent('qv-openurl', {
      detail: { url, target }, bubbles: true, cancelable: true, composed: true,
    });
    if (!record.element.dispatchEvent(event)) return true;
    const opened = window.open(url, target || '_blank');
    return opened !== null && opened !== undefined;
  }

  async function start(element) {
    if (element.qvApplet) return element.qvApplet;
    const source = element.getAttribute('src');
    // The parameters, as the page lists the attributes (before this script changes any).
    const attributes = Array.from(element.attributes, (a) => [a.name, a.value]);
    const width = size(element, 'width', defaultWidth);
    const height = size(element, 'height', defaultHeight);
    const number = takeWindowNumber();
    const record = { number, element, state: 'loading', message: '', module: null,
                     directory: `/qv/applet-${number}`, packagePath: '', area: null };
    element.qvApplet = record;
    records.set(number, record);
    setState(record, 'loading');
    if (!source) {
      setState(record, 'failed', 'the element has no src');
      return record;
    }
    record.area = makeArea(element, number, width, height);
    try {
      const packageUrl = new URL(source, document.baseURI);
      const bundle = locateBundle(element, source);
      if (!allowedBundle(bundle.script))
        throw new Error(`the applet bundle ${bundle.script.href} is not of this page's origin ` +
                        `(${location.origin}) nor in QVApplets.config.allowedBundleOrigins`);
      const fileName = decodeURIComponent(packageUrl.pathname.split('/').pop()) || 'applet.qva';
      const folder = record.directory;
      record.packagePath = `${folder}/${fileName.replace(/[\/\\]/g, '_')}`;
      const [factory, bytes] = await Promise.all([
        loadFactory(bundle),
        fetch(packageUrl).then((response) => {
          if (!response.ok) throw new Error(`cannot fetch ${packageUrl} (${response.status})`);
          return response.arrayBuffer();
        }),
      ]);
      const args = [record.packagePath, String(number), String(width), String(height)];
      for (const [name, value] of attributes) args.push(name, value);
      const prefix = `[qv-applet ${number}]`;
      const config = {
        arguments: args,
        locateFile: (file) => new URL(file, bundle.script).href,
        print: (text) => console.log(prefix, text),
        printErr: (text) => console.warn(prefix, text),
        preRun: [() => {
          config.FS.mkdirTree(folder);
          config.FS.writeFile(record.packagePath, new Uint8Array(bytes));
        }],
        onAbort: (what) => setState(record, 'failed', `aborted: ${what}`),
        qvOpenURL: (element, url, target) => openURL(record, url, target),
        qvAppletState: (element, state, message) => setState(record, state, message),
        qvUnpackBudget: () => unpackBudget(),
        qvUnpacked: (element, bytes) => { unpacked += Math.max(0, Number(bytes) || 0); },
      };
      record.module = config;
      await factory(config);
    } catch (error) {
      console.error(`[qv-applet ${number}]`, error);
      if (record.state === 'loading') setState(record, 'failed', String(error.message || error));
    }
    return record;
  }

  function scan(root) {
    if (root.nodeType !== 1 && root.nodeType !== 9) return;
    if (root.nodeType === 1 && root.matches(selector)) start(root);
    root.querySelectorAll(selector).forEach((element) => start(element));
  }

  function begin() {
    scan(document);
    new MutationObserver((changes) => {
      for (const change of changes) change.addedNodes.forEach((node) => scan(node));
    }).observe(document.documentElement, { childList: true, subtree: true });
  }

  const api = {
    // The page's settings: allowedBundleOrigins (origins such as "https://cdn.example.com" that
    // may serve bundles besides the page's own) and unpackLimit (bytes all applets of the page
    // may unpack together, at most 1 GiB).
    config: settings,
    // Starts the applet of an element now (once); resolves to its record.
    start,
    // The record of applet N.
    get: (number) => records.get(number),
    // Every applet started on this page.
    all: () => Array.from(records.values()),
  };
  globalThis.QVApplets = api;

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', begin);
  else begin();
})();
