// The page side of the web UI manager (linked with --js-library): the elements of UI items, the
// queue of their events and the message boxes. C++ reaches it through the qvui_* imports
// declared in WebPage.cpp; ProcessMessages drains the queue one event at a time.
//
// Every item is an element with the id "qvwin-N" (N from the page-wide counter
// globalThis.__qvNextWindowId, so several applets in one page never share an id) and the
// attributes data-qvitem="N" and data-qvkind="<kind>". Windows are positioned <div>s holding a
// <canvas id="qvwin-N-canvas"> that fills them; labels, buttons and child windows follow the
// canvas inside their parent's element. A window's background colour is the canvas's CSS
// background, so that a renderer can still make its WebGL context on the canvas.
mergeInto(LibraryManager.library, {
  $QVUI: {
    // Events waiting for ProcessMessages, in arrival order, of every window of this program.
    queue: [],
    QUEUE_LIMIT: 10000,
    boxes: {},
    nextBox: 1,
    // Event types; the same values as WebEventType in WebEvent.h.
    KEY_DOWN: 1, KEY_UP: 2, MOUSE_MOVE: 3, COMMAND: 4, CLOSE: 5, QUIT: 6, SIZE: 7,
    // Item kinds (QVUIKind).
    STATIC: 0, WINDOW: 1, LABEL: 2, BUTTON: 3, HAND_LABEL: 4,

    // Canvas pixels per CSS pixel of the windows' canvases: the screen's density (at most 2),
    // so that pictures are sharp; Module.qvPixelRatio (the player: hidpi="false" gives 1) rules.
    // The program sees its windows in CSS pixels all the same; a renderer reads the scale from
    // the canvas (data-qv-scale).
    pixelScale: function() {
      var wanted = Number(Module['qvPixelRatio']) || globalThis.devicePixelRatio || 1;
      return Math.min(Math.max(wanted, 1), 2);
    },
    sizeCanvas: function(canvas, width, height) {
      var scale = Number(canvas.dataset.qvScale) || 1;
      canvas.width = Math.round(Math.max(width, 0) * scale);
      canvas.height = Math.round(Math.max(height, 0) * scale);
    },
    element: function(id) { return document.getElementById('qvwin-' + id); },
    nextId: function() {
      globalThis.__qvNextWindowId = (globalThis.__qvNextWindowId || 1);
      return globalThis.__qvNextWindowId++;
    },
    // Where windows without a parent go: Module.qvRoot (an element or its id), else the body.
    root: function() {
      var root = Module['qvRoot'];
      if (typeof root === 'string') root = document.getElementById(root);
      return root || document.body;
    },
    text: function(pointer, length) {
      var units = HEAPU16.subarray(pointer >> 1, (pointer >> 1) + length);
      var out = '';
      for (var i = 0; i < units.length; i += 4096)
        out += String.fromCharCode.apply(null, units.subarray(i, i + 4096));
      return out;
    },
    installStyle: function() {
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
    },
    push: function(event) {
      var last = QVUI.queue[QVUI.queue.length - 1];
      // Moves coalesce as Windows' WM_MOUSEMOVE does: only the newest position waits.
      if (event.type === QVUI.MOUSE_MOVE && last && last.type === QVUI.MOUSE_MOVE &&
          last.window === event.window && last.flags === event.flags) {
        last.x = event.x;
        last.y = event.y;
        return true;
      }
      // A window nobody takes events for must not make the queue grow without end: like a
      // full desktop message queue, it refuses new events at the limit.
      if (QVUI.queue.length >= QVUI.QUEUE_LIMIT) return false;
      QVUI.queue.push(event);
      return true;
    },
    // The item element an event happened in.
    itemOf: function(target) {
      return target && target.closest ? target.closest('[data-qvitem]') : null;
    },
    // Keys the browser keeps with their default action even in a focused applet: Tab and
    // Shift+Tab move the focus onward, function keys reload, open the developer tools and so on.
    browserKey: function(e) {
      return e.key === 'Tab' || /^F([1-9]|1[0-9]|2[0-4])$/.test(e.key || '');
    },
    onKey: function(e) {
      var item = QVUI.itemOf(e.target);
      if (!item) return;
      // The innermost window handles it: keys go to the focused item, as on the desktop.
      e.stopPropagation();
      // Tab leaves the applet: it reaches neither the applet nor, going, its key-up.
      if (e.key === 'Tab') return;
      QVUI.push({type: e.type === 'keydown' ? QVUI.KEY_DOWN : QVUI.KEY_UP,
                 window: +item.dataset.qvitem, x: 0, y: 0, flags: 0, control: 0,
                 code: e.code || '', key: e.key || ''});
      var held = item.__qvuiHeld || (item.__qvuiHeld = {});
      if (e.type === 'keydown') held[e.code || e.key] = [e.code || '', e.key || ''];
      else delete held[e.code || e.key];
      // The applet has the keys (arrows, Space and the page keys would scroll the page);
      // browser shortcuts (with Control, Alt or Meta, and the function keys) stay the
      // browser's, and a focused button keeps Space and Enter to be pressed with.
      if (item.tagName !== 'BUTTON' && !e.ctrlKey && !e.altKey && !e.metaKey &&
          !QVUI.browserKey(e))
        e.preventDefault();
    },
    // Pointer events of every kind: a touch or a pen in contact counts as the left button
    // (the browser reports them so in buttons). A press or release is told as a move with
    // the new buttons, the only mouse call listeners have.
    onMouse: function(e) {
      if (e.target.closest && e.target.closest('.qvui-titlebar')) return;
      var item = QVUI.itemOf(e.target);
      // Labels let the mouse through to their window, as static controls do.
      while (item && (+item.dataset.qvkind === QVUI.LABEL ||
                      +item.dataset.qvkind === QVUI.HAND_LABEL))
        item = QVUI.itemOf(item.parentElement);
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
      QVUI.push({type: QVUI.MOUSE_MOVE, window: +item.dataset.qvitem,
                 x: Math.floor(e.clientX - rect.left), y: Math.floor(e.clientY - rect.top),
                 flags: flags, control: 0, code: '', key: ''});
    },
    listen: function(element) {
      if (element.__qvuiListening) return;
      element.__qvuiListening = true;
      if (!element.hasAttribute('tabindex')) element.tabIndex = 0;
      element.addEventListener('keydown', QVUI.onKey);
      element.addEventListener('keyup', QVUI.onKey);
      // Keys held when the focus leaves (Shift+Tab, a click elsewhere) go up: their key-up would
      // reach another element and the window would hold them down for ever.
      element.addEventListener('blur', function() {
        var held = element.__qvuiHeld || {};
        element.__qvuiHeld = {};
        Object.keys(held).forEach(function(name) {
          QVUI.push({type: QVUI.KEY_UP, window: +element.dataset.qvitem, x: 0, y: 0, flags: 0,
                     control: 0, code: held[name][0], key: held[name][1]});
        });
      });
      ['pointermove', 'pointerdown', 'pointerup'].forEach(function(type) {
        element.addEventListener(type, QVUI.onMouse);
      });
      // Touch drags reach the applet instead of panning the page; the right button reaches the
      // applet instead of opening the browser's menu.
      element.style.touchAction = 'none';
      element.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    },
    // A host element the page resizes (the player's area going full screen) takes the windows
    // that fill it along: they get its new size, their canvas too, and an OnSize.
    followSize: function(host) {
      if (typeof ResizeObserver === 'undefined' || host.__qvuiSize) return;
      host.__qvuiSize = [host.clientWidth, host.clientHeight];
      new ResizeObserver(function() {
        var old = host.__qvuiSize;
        var width = host.clientWidth, height = host.clientHeight;
        // A hidden host (nothing laid out) keeps its windows as they are.
        if ((width === old[0] && height === old[1]) || (width === 0 && height === 0)) return;
        host.__qvuiSize = [width, height];
        Array.prototype.forEach.call(host.children, function(child) {
          var style = child.style;
          if (!child.classList.contains('qvui-window') || parseInt(style.left, 10) !== 0 ||
              parseInt(style.top, 10) !== 0 || parseInt(style.width, 10) !== old[0] ||
              parseInt(style.height, 10) !== old[1])
            return;
          style.width = width + 'px';
          style.height = height + 'px';
          var canvas = child.firstElementChild;
          if (canvas && canvas.localName === 'canvas') QVUI.sizeCanvas(canvas, width, height);
          QVUI.push({type: QVUI.SIZE, window: +child.dataset.qvitem, x: width, y: height,
                     flags: 0, control: 0, code: '', key: ''});
        });
      }).observe(host);
    },
    setText: function(element, text) {
      var kind = +element.dataset.qvkind;
      element.dataset.qvtext = text;
      if (kind === QVUI.STATIC || kind === QVUI.WINDOW) {
        element.setAttribute('aria-label', text);
        var caption = element.querySelector(':scope>.qvui-titlebar>span');
        if (caption) caption.textContent = text;
      } else {
        element.textContent = text;
      }
    }
  },

  qvui_create__deps: ['$QVUI'],
  qvui_create: function(kind, parentId, x, y, width, height, colour, textPointer, textLength) {
    if (typeof document === 'undefined') return 0;
    var parent = parentId !== 0 ? QVUI.element(parentId) : QVUI.root();
    if (!parent) return 0;
    QVUI.installStyle();
    var id = QVUI.nextId();
    var element;
    if (kind === QVUI.STATIC || kind === QVUI.WINDOW) {
      element = document.createElement('div');
      element.className = 'qvui-window';
      var canvas = document.createElement('canvas');
      canvas.id = 'qvwin-' + id + '-canvas';
      canvas.dataset.qvScale = String(QVUI.pixelScale());
      QVUI.sizeCanvas(canvas, width, height);
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
        close.addEventListener('click', function() {
          QVUI.push({type: QVUI.CLOSE, window: id, x: 0, y: 0, flags: 0, control: 0,
                     code: '', key: ''});
        });
        bar.appendChild(close);
        element.appendChild(bar);
      }
    } else if (kind === QVUI.BUTTON) {
      element = document.createElement('button');
      element.type = 'button';
      element.className = 'qvui-button';
      element.addEventListener('click', function() {
        // A click reaches the listener of the window that contains the button.
        var container = QVUI.itemOf(element.parentElement);
        if (container)
          QVUI.push({type: QVUI.COMMAND, window: +container.dataset.qvitem, x: 0, y: 0, flags: 0,
                     control: id, code: '', key: ''});
      });
    } else {
      element = document.createElement('div');
      element.className = kind === QVUI.HAND_LABEL ? 'qvui-handlabel' : 'qvui-label';
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
    QVUI.setText(element, QVUI.text(textPointer, textLength));
    parent.appendChild(element);
    if (kind === QVUI.STATIC || kind === QVUI.WINDOW) QVUI.listen(element);
    if (kind === QVUI.WINDOW && parentId !== 0) QVUI.followSize(parent);
    return id;
  },

  qvui_set_text__deps: ['$QVUI'],
  qvui_set_text: function(id, textPointer, textLength) {
    var element = QVUI.element(id);
    if (element) QVUI.setText(element, QVUI.text(textPointer, textLength));
  },

  qvui_set_visible__deps: ['$QVUI'],
  qvui_set_visible: function(id, visible, cursorShown) {
    var element = QVUI.element(id);
    if (!element) return;
    element.style.display = visible ? '' : 'none';
    element.style.cursor = cursorShown ? '' : 'none';
    // A window that is shown while nothing else in the page has the focus takes it, as a new
    // desktop window is activated; the page's own controls keep theirs.
    var kind = +element.dataset.qvkind;
    if (visible && kind === QVUI.WINDOW &&
        (!document.activeElement || document.activeElement === document.body))
      element.focus({preventScroll: true});
  },

  // Visible as IsWindowVisible: the element and every ancestor up to the body are displayed.
  qvui_is_visible__deps: ['$QVUI'],
  qvui_is_visible: function(id) {
    var element = QVUI.element(id);
    if (!element || !element.isConnected) return 0;
    for (var e = element; e && e !== document.body; e = e.parentElement)
      if (e.style.display === 'none') return 0;
    return 1;
  },

  qvui_exists__deps: ['$QVUI'],
  qvui_exists: function(id) {
    var element = QVUI.element(id);
    return element && element.isConnected ? 1 : 0;
  },

  qvui_attach__deps: ['$QVUI'],
  qvui_attach: function(id) {
    var element = QVUI.element(id);
    if (!element) return 0;
    if (!element.dataset.qvitem) {
      element.dataset.qvitem = String(id);
      element.dataset.qvkind = String(QVUI.WINDOW);
    }
    QVUI.listen(element);
    return 1;
  },

  qvui_remove__deps: ['$QVUI'],
  qvui_remove: function(id) {
    var element = QVUI.element(id);
    if (element) element.remove();
  },

  qvui_post__deps: ['$QVUI'],
  qvui_post: function(id, type) {
    var event = {type: type, window: id, x: 0, y: 0, flags: 0, control: 0, code: '', key: ''};
    return QVUI.push(event) ? 1 : 0;
  },

  // Whether the page holds the program back (Module.qvPaused: its applet is out of sight).
  qvui_paused: function() {
    return Module['qvPaused'] ? 1 : 0;
  },

  // Takes the oldest event of the window root or of an element inside it into the WebEvent at
  // pointer; 1 when there was one. Events of windows that left the page are dropped on the way.
  qvui_take__deps: ['$QVUI'],
  qvui_take: function(rootId, pointer) {
    if (typeof document === 'undefined') return 0;
    var root = QVUI.element(rootId);
    if (!root) return 0;
    for (var i = 0; i < QVUI.queue.length; ++i) {
      var event = QVUI.queue[i];
      var element = QVUI.element(event.window);
      if (!element) {
        QVUI.queue.splice(i--, 1);
        continue;
      }
      if (element !== root && !root.contains(element)) continue;
      QVUI.queue.splice(i, 1);
      var words = pointer >> 2;
      HEAP32[words] = event.type;
      HEAP32[words + 1] = event.window;
      HEAP32[words + 2] = event.x;
      HEAP32[words + 3] = event.y;
      HEAP32[words + 4] = event.flags;
      HEAP32[words + 5] = event.control;
      stringToUTF8(event.code, pointer + 24, 32);
      stringToUTF8(event.key, pointer + 56, 32);
      return 1;
    }
    return 0;
  },

  // A modal message box in the page: a <dialog> with the caption, the text, a question mark
  // for questions and the buttons. buttons: 0 OK, 1 Yes/No, 2 Yes/No/Cancel. Returns the box's
  // number for qvui_box_result, or 0 when no box could be shown.
  qvui_box_open__deps: ['$QVUI'],
  qvui_box_open: function(textPointer, textLength, captionPointer, captionLength, buttons) {
    // Nor when the page has put its failure panel in the applet's place (qvapplet.js): the
    // panel says what went wrong, a box over the whole page would only stand in the way.
    if (typeof document === 'undefined' || Module.qvNoBoxes) return 0;
    QVUI.installStyle();
    var number = QVUI.nextBox++;
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
      if (box.result === 0 && result !== 0) box.result = result;
    };
    var bar = document.createElement('div');
    bar.className = 'qvui-titlebar';
    var caption = document.createElement('span');
    caption.textContent = QVUI.text(captionPointer, captionLength);
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
    var text = document.createElement('div');
    text.className = 'qvui-box-text';
    text.textContent = QVUI.text(textPointer, textLength);
    body.appendChild(text);
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
    QVUI.boxes[number] = box;
    return number;
  },

  // The answer of a box (1 OK, 2 Cancel, 6 Yes, 7 No), or 0 while it waits for one.
  qvui_box_result__deps: ['$QVUI'],
  qvui_box_result: function(number) {
    var box = QVUI.boxes[number];
    return box ? box.result : 2;
  },

  qvui_box_close__deps: ['$QVUI'],
  qvui_box_close: function(number) {
    var box = QVUI.boxes[number];
    if (!box) return;
    delete QVUI.boxes[number];
    if (box.dialog.open) box.dialog.close();
    box.dialog.remove();
  }
});
