// The page elements of the web UI manager's items and its message boxes, in plain script: the
// manager's library (WebPageLibrary.js, where the program runs on the page's thread) and the
// page script qvapplet.js (where an applet runs in a worker and sends its element operations to
// the page) make them with the same code. Nothing here touches the program's memory: texts come
// as strings, events leave through host.push.
//
// host: push(event) queues an event of an item (false when the queue is full), root() is where
// windows without a parent go, pixelScale() the canvas pixels per CSS pixel, resized(canvas,
// width, height) sizes a window's canvas (a canvas handed to a worker is sized there).
var QVUIElements = globalThis.QVUIElements || function(host) {
  var STATIC = 0, WINDOW = 1, LABEL = 2, BUTTON = 3, HAND_LABEL = 4;
  var KEY_DOWN = 1, KEY_UP = 2, MOUSE_MOVE = 3, COMMAND = 4, CLOSE = 5, SIZE = 7;
  var ui = {boxes: {}, nextBox: 1};
  var event = function(type, window, fields) {
    var e = {type: type, window: window, x: 0, y: 0, flags: 0, control: 0, code: '', key: ''};
    for (var name in fields || {}) e[name] = fields[name];
    return e;
  };
  ui.sizeCanvas = function(canvas, width, height) {
    var scale = Number(canvas.dataset.qvScale) || 1;
    canvas.width = Math.round(Math.max(width, 0) * scale);
    canvas.height = Math.round(Math.max(height, 0) * scale);
  };
  ui.element = function(id) { return document.getElementById('qvwin-' + id); };
  ui.nextId = function() {
    globalThis.__qvNextWindowId = (globalThis.__qvNextWindowId || 1);
    return globalThis.__qvNextWindowId++;
  };
  ui.installStyle = function() {
    if (document.getElementById('qvui-style')) return;
    var style = document.createElement('style');
    style.id = 'qvui-style';
    style.textContent = [
      '.qvui-window{position:absolute;outline:none;box-sizing:content-box}',
      '.qvui-window>canvas{position:absolute;left:0;top:0;width:100%;height:100%;display:block}',
      '.qvui-titlebar{position:absolute;left:-1px;right:-1px;top:-24px;height:23px;',
      'background:#2b579a;color:#fff;font:13px/23px sans-serif;padding-left:6px;',
      'box-sizing:border-box;overflow:hidden;white-space:nowrap;user-select:none}',
      '.qvui-close{position:absolute;right:0;top:0;width:28px;height:23px;border:0;',
      'background:transparent;color:#fff;font:15px/23px sans-serif;padding:0;cursor:default}',
      '.qvui-close:hover{background:#e81123}',
      '.qvui-label,.qvui-handlabel{position:absolute;overflow:hidden;white-space:pre-wrap;',
      'font:13px sans-serif;color:#000;background:#f0f0f0;user-select:none}',
      '.qvui-label{pointer-events:none}',
      '.qvui-handlabel{color:#06c;text-decoration:underline;cursor:pointer}',
      '.qvui-button{position:absolute;box-sizing:border-box;font:13px sans-serif;margin:0}',
      '.qvui-box{padding:0;border:1px solid #888;min-width:220px;max-width:480px;',
      'font:13px sans-serif;box-shadow:0 4px 16px rgba(0,0,0,.35)}',
      '.qvui-box .qvui-titlebar{position:relative;top:0;left:0;right:0}',
      '.qvui-box-body{display:flex;gap:12px;padding:16px;align-items:flex-start}',
      '.qvui-box-icon{flex:none;width:28px;height:28px;border-radius:50%;background:#2b579a;',
      'color:#fff;font:bold 18px/28px sans-serif;text-align:center}',
      '.qvui-box-text{white-space:pre-wrap}',
      '.qvui-box-buttons{display:flex;justify-content:flex-end;gap:8px;padding:8px 12px;',
      'background:#f0f0f0}',
      '.qvui-box-buttons button{min-width:72px}'
    ].join('');
    document.head.appendChild(style);
  };
  // The item element an event happened in.
  ui.itemOf = function(target) {
    return target && target.closest ? target.closest('[data-qvitem]') : null;
  };
  // Keys the browser keeps with their default action even in a focused applet: Tab and
  // Shift+Tab move the focus onward, function keys reload, open the developer tools and so on.
  var browserKey = function(e) {
    return e.key === 'Tab' || /^F([1-9]|1[0-9]|2[0-4])$/.test(e.key || '');
  };
  var onKey = function(e) {
    var item = ui.itemOf(e.target);
    if (!item) return;
    // The innermost window handles it: keys go to the focused item, as on the desktop.
    e.stopPropagation();
    // Tab leaves the applet: it reaches neither the applet nor, going, its key-up.
    if (e.key === 'Tab') return;
    host.push(event(e.type === 'keydown' ? KEY_DOWN : KEY_UP, +item.dataset.qvitem,
                    {code: e.code || '', key: e.key || ''}));
    var held = item.__qvuiHeld || (item.__qvuiHeld = {});
    if (e.type === 'keydown') held[e.code || e.key] = [e.code || '', e.key || ''];
    else delete held[e.code || e.key];
    // The applet has the keys (arrows, Space and the page keys would scroll the page);
    // browser shortcuts (with Control, Alt or Meta, and the function keys) stay the
    // browser's, and a focused button keeps Space and Enter to be pressed with.
    if (item.tagName !== 'BUTTON' && !e.ctrlKey && !e.altKey && !e.metaKey && !browserKey(e))
      e.preventDefault();
  };
  // Pointer events of every kind: a touch or a pen in contact counts as the left button
  // (the browser reports them so in buttons). A press or release is told as a move with
  // the new buttons, the only mouse call listeners have.
  var onMouse = function(e) {
    if (e.target.closest && e.target.closest('.qvui-titlebar')) return;
    var item = ui.itemOf(e.target);
    // Labels let the mouse through to their window, as static controls do.
    while (item && (+item.dataset.qvkind === LABEL || +item.dataset.qvkind === HAND_LABEL))
      item = ui.itemOf(item.parentElement);
    if (item !== e.currentTarget) return;  // a button's, or an inner window's own
    if (e.type === 'pointerdown') {
      // The window takes the focus (also from a touch) and keeps the pointer while it drags.
      if (document.activeElement !== item) item.focus({preventScroll: true});
      if (item.setPointerCapture) {
        try { item.setPointerCapture(e.pointerId); } catch (error) { /* pointer gone */ }
      }
    }
    var rect = item.getBoundingClientRect();
    var flags = 0;
    if (e.shiftKey) flags |= 1;
    if (e.ctrlKey) flags |= 4;
    if (e.buttons & 1) flags |= 8;
    if (e.buttons & 4) flags |= 16;
    if (e.buttons & 2) flags |= 32;
    host.push(event(MOUSE_MOVE, +item.dataset.qvitem,
                    {x: Math.floor(e.clientX - rect.left), y: Math.floor(e.clientY - rect.top),
                     flags: flags}));
  };
  ui.listen = function(element) {
    if (element.__qvuiListening) return;
    element.__qvuiListening = true;
    if (!element.hasAttribute('tabindex')) element.tabIndex = 0;
    element.addEventListener('keydown', onKey);
    element.addEventListener('keyup', onKey);
    // Keys held when the focus leaves (Shift+Tab, a click elsewhere) go up: their key-up would
    // reach another element and the window would hold them down for ever.
    element.addEventListener('blur', function() {
      var held = element.__qvuiHeld || {};
      element.__qvuiHeld = {};
      Object.keys(held).forEach(function(name) {
        host.push(event(KEY_UP, +element.dataset.qvitem, {code: held[name][0], key: held[name][1]}));
      });
    });
    ['pointermove', 'pointerdown', 'pointerup'].forEach(function(type) {
      element.addEventListener(type, onMouse);
    });
    // Touch drags reach the applet instead of panning the page; the right button reaches the
    // applet instead of opening the browser's menu.
    element.style.touchAction = 'none';
    element.addEventListener('contextmenu', function(e) { e.preventDefault(); });
  };
  // A host element the page resizes (the player's area going full screen) takes the windows
  // that fill it along: they get its new size, their canvas too, and an OnSize.
  var followSize = function(parent) {
    if (typeof ResizeObserver === 'undefined' || parent.__qvuiSize) return;
    parent.__qvuiSize = [parent.clientWidth, parent.clientHeight];
    new ResizeObserver(function() {
      var old = parent.__qvuiSize;
      var width = parent.clientWidth, height = parent.clientHeight;
      // A hidden host (nothing laid out) keeps its windows as they are.
      if ((width === old[0] && height === old[1]) || (width === 0 && height === 0)) return;
      parent.__qvuiSize = [width, height];
      Array.prototype.forEach.call(parent.children, function(child) {
        var style = child.style;
        if (!child.classList.contains('qvui-window') || parseInt(style.left, 10) !== 0 ||
            parseInt(style.top, 10) !== 0 || parseInt(style.width, 10) !== old[0] ||
            parseInt(style.height, 10) !== old[1])
          return;
        style.width = width + 'px';
        style.height = height + 'px';
        var canvas = child.firstElementChild;
        if (canvas && canvas.localName === 'canvas') host.resized(canvas, width, height);
        host.push(event(SIZE, +child.dataset.qvitem, {x: width, y: height}));
      });
    }).observe(parent);
  };
  ui.setText = function(element, text) {
    var kind = +element.dataset.qvkind;
    element.dataset.qvtext = text;
    if (kind === STATIC || kind === WINDOW) {
      element.setAttribute('aria-label', text);
      var caption = element.querySelector(':scope>.qvui-titlebar>span');
      if (caption) caption.textContent = text;
    } else {
      element.textContent = text;
    }
  };

  // The element of a new item, hidden (ApplyVisibility shows it); its id, 0 without a parent.
  ui.create = function(kind, parentId, x, y, width, height, colour, text) {
    var parent = parentId !== 0 ? ui.element(parentId) : host.root();
    if (!parent) return 0;
    ui.installStyle();
    var id = ui.nextId();
    var element;
    if (kind === STATIC || kind === WINDOW) {
      element = document.createElement('div');
      element.className = 'qvui-window';
      var canvas = document.createElement('canvas');
      canvas.id = 'qvwin-' + id + '-canvas';
      canvas.dataset.qvScale = String(host.pixelScale());
      ui.sizeCanvas(canvas, width, height);
      canvas.style.backgroundColor = '#' + ('00000' + colour.toString(16)).slice(-6);
      element.appendChild(canvas);
      if (parentId === 0) {
        // A top-level window: a title bar with the caption and a close control above its client
        // area, which stays the element itself.
        element.style.boxShadow = '0 0 0 1px #2b579a';
        var bar = document.createElement('div');
        bar.className = 'qvui-titlebar';
        bar.appendChild(document.createElement('span'));
        var close = document.createElement('button');
        close.className = 'qvui-close';
        close.type = 'button';
        close.tabIndex = -1;
        close.title = 'Close';
        close.textContent = '\u00d7';
        close.addEventListener('click', function() { host.push(event(CLOSE, id)); });
        bar.appendChild(close);
        element.appendChild(bar);
      }
    } else if (kind === BUTTON) {
      element = document.createElement('button');
      element.type = 'button';
      element.className = 'qvui-button';
      element.addEventListener('click', function() {
        // A click reaches the listener of the window that contains the button.
        var container = ui.itemOf(element.parentElement);
        if (container) host.push(event(COMMAND, +container.dataset.qvitem, {control: id}));
      });
    } else {
      element = document.createElement('div');
      element.className = kind === HAND_LABEL ? 'qvui-handlabel' : 'qvui-label';
    }
    element.id = 'qvwin-' + id;
    element.dataset.qvitem = String(id);
    element.dataset.qvkind = String(kind);
    element.style.left = x + 'px';
    element.style.top = y + 'px';
    element.style.width = Math.max(width, 0) + 'px';
    element.style.height = Math.max(height, 0) + 'px';
    // Made hidden, as a desktop window without WS_VISIBLE; ApplyVisibility shows it.
    element.style.display = 'none';
    ui.setText(element, text);
    parent.appendChild(element);
    if (kind === STATIC || kind === WINDOW) ui.listen(element);
    if (kind === WINDOW && parentId !== 0) followSize(parent);
    return id;
  };

  ui.setVisible = function(id, visible, cursorShown) {
    var element = ui.element(id);
    if (!element) return;
    element.style.display = visible ? '' : 'none';
    element.style.cursor = cursorShown ? '' : 'none';
    // A window that is shown while nothing else in the page has the focus takes it, as a new
    // desktop window is activated; the page's own controls keep theirs.
    if (visible && +element.dataset.qvkind === WINDOW &&
        (!document.activeElement || document.activeElement === document.body))
      element.focus({preventScroll: true});
  };

  // Visible as IsWindowVisible: the element and every ancestor up to the body are displayed.
  ui.isVisible = function(id) {
    var element = ui.element(id);
    if (!element || !element.isConnected) return 0;
    for (var e = element; e && e !== document.body; e = e.parentElement)
      if (e.style.display === 'none') return 0;
    return 1;
  };

  ui.attach = function(id) {
    var element = ui.element(id);
    if (!element) return 0;
    if (!element.dataset.qvitem) {
      element.dataset.qvitem = String(id);
      element.dataset.qvkind = String(WINDOW);
    }
    ui.listen(element);
    return 1;
  };

  // A modal message box in the page: a <dialog> with the caption, the text, a question mark
  // for questions and the buttons. buttons: 0 OK, 1 Yes/No, 2 Yes/No/Cancel. Returns the box's
  // number; answered(result) is told the answer (1 OK, 2 Cancel, 6 Yes, 7 No) once.
  ui.openBox = function(text, captionText, buttons, answered) {
    ui.installStyle();
    var number = ui.nextBox++;
    var box = {result: 0, dialog: document.createElement('dialog')};
    var dialog = box.dialog;
    dialog.className = 'qvui-box';
    dialog.id = 'qvui-box-' + number;
    var choices = buttons === 0 ? [['OK', 1]] :
        buttons === 1 ? [['Yes', 6], ['No', 7]] : [['Yes', 6], ['No', 7], ['Cancel', 2]];
    // What Escape and the close control give: Cancel, OK in a box with only OK, nothing in a
    // Yes/No box, which needs an answer.
    var escape = buttons === 0 ? 1 : buttons === 2 ? 2 : 0;
    var answer = function(result) {
      if (box.result !== 0 || result === 0) return;
      box.result = result;
      if (answered) answered(result);
    };
    var bar = document.createElement('div');
    bar.className = 'qvui-titlebar';
    var caption = document.createElement('span');
    caption.textContent = captionText;
    bar.appendChild(caption);
    var close = document.createElement('button');
    close.className = 'qvui-close';
    close.type = 'button';
    close.tabIndex = -1;
    close.textContent = '\u00d7';
    close.disabled = escape === 0;
    close.addEventListener('click', function() { answer(escape); });
    bar.appendChild(close);
    dialog.appendChild(bar);
    var body = document.createElement('div');
    body.className = 'qvui-box-body';
    if (buttons !== 0) {
      var icon = document.createElement('div');
      icon.className = 'qvui-box-icon';
      icon.textContent = '?';
      body.appendChild(icon);
    }
    var textElement = document.createElement('div');
    textElement.className = 'qvui-box-text';
    textElement.textContent = text;
    body.appendChild(textElement);
    dialog.appendChild(body);
    var row = document.createElement('div');
    row.className = 'qvui-box-buttons';
    choices.forEach(function(choice) {
      var button = document.createElement('button');
      button.type = 'button';
      button.textContent = choice[0];
      button.dataset.result = String(choice[1]);
      button.addEventListener('click', function() { answer(choice[1]); });
      row.appendChild(button);
    });
    dialog.appendChild(row);
    dialog.addEventListener('keydown', function(e) {
      var key = (e.key || '').toLowerCase();
      if (e.key === 'Escape') {
        e.preventDefault();
        answer(escape);
      } else if (key === 'y' && buttons !== 0) {
        answer(6);
      } else if (key === 'n' && buttons !== 0) {
        answer(7);
      }
    });
    dialog.addEventListener('cancel', function(e) {
      e.preventDefault();
      answer(escape);
    });
    // Closed some other way before an answer: the box without one comes back, the others answer
    // as their close control does.
    dialog.addEventListener('close', function() {
      if (box.result !== 0) return;
      if (escape !== 0) answer(escape);
      else if (dialog.isConnected) dialog.showModal();
    });
    document.body.appendChild(dialog);
    dialog.showModal();
    row.firstChild.focus();
    ui.boxes[number] = box;
    return number;
  };

  // The answer of a box, 0 while it waits for one (2 for a box that is gone).
  ui.boxResult = function(number) {
    var box = ui.boxes[number];
    return box ? box.result : 2;
  };

  ui.closeBox = function(number) {
    var box = ui.boxes[number];
    if (!box) return;
    delete ui.boxes[number];
    if (box.dialog.open) box.dialog.close();
    box.dialog.remove();
  };
  return ui;
};
