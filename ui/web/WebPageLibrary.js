// The page side of the web UI manager (linked with --js-library): the elements of UI items, the
// queue of their events and the message boxes. C++ reaches it through the qvui_* imports
// declared in WebPage.cpp; ProcessMessages drains the queue one event at a time.
//
// Every item is an element with the id "qvwin-N" (N from the page-wide counter
// globalThis.__qvNextWindowId, so several applets in one page never share an id) and the
// attributes data-qvitem="N" and data-qvkind="<kind>". The elements are made by QVUIElements
// (WebElements.js, linked with --pre-js), which the page script also uses.
//
// Where the program runs in a worker (the page script's applets), there is no document: the
// page script hands the program Module.qvPost, every element operation goes to the page as a
// message, and the page's answers, events and canvases come back through Module.qvReceive. The
// worker keeps a model of its items (parent, shown, still in the page) to answer the questions
// that must be answered at once (IsVisible, Exists, which events belong to which window).
mergeInto(LibraryManager.library, {
  $QVUI__deps: ['$specialHTMLTargets'],
  $QVUI__postset: 'QVUI.install();',
  $QVUI: {
    // Events waiting for ProcessMessages, in arrival order, of every window of this program.
    queue: [],
    QUEUE_LIMIT: 10000,
    // Event types; the same values as WebEventType in WebEvent.h.
    KEY_DOWN: 1, KEY_UP: 2, MOUSE_MOVE: 3, COMMAND: 4, CLOSE: 5, QUIT: 6, SIZE: 7,
    WINDOW: 1,
    ui: null,
    // In a worker: id → {parent, visible, gone, canvas} of the items made or attached, the
    // tickets of creations waiting for their id, the answers of boxes shown by the page.
    items: {},
    tickets: {},
    nextTicket: 1,
    answers: {},
    nextBox: 1,
    remote: function() {
      return typeof document === 'undefined' && typeof Module['qvPost'] === 'function';
    },
    install: function() {
      Module['qvReceive'] = function(message) { QVUI.receive(message); };
      // The GL layer asks for the canvas of a window before it makes its context on it.
      Module['qvCanvasState'] = function(id) { return QVUI.canvasState(id); };
      Module['qvFindCanvas'] = function(selector) { return specialHTMLTargets[selector]; };
      Module['qvRemoveElement'] = function(id) { QVUI.removeRemote(id); };
    },
    // The element code of a program on the page's thread, made when first needed.
    elements: function() {
      if (!QVUI.ui) {
        QVUI.ui = QVUIElements({
          push: QVUI.push,
          root: QVUI.root,
          pixelScale: QVUI.pixelScale,
          resized: function(canvas, width, height) { QVUI.ui.sizeCanvas(canvas, width, height); }
        });
      }
      return QVUI.ui;
    },
    // Canvas pixels per CSS pixel of the windows' canvases: the screen's density (at most 2),
    // so that pictures are sharp; Module.qvPixelRatio (the player: hidpi="false" gives 1) rules.
    // The program sees its windows in CSS pixels all the same; a renderer reads the scale from
    // the canvas (data-qv-scale).
    pixelScale: function() {
      var wanted = Number(Module['qvPixelRatio']) || globalThis.devicePixelRatio || 1;
      return Math.min(Math.max(wanted, 1), 2);
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
    // ---- In a worker. ----
    post: function(message, transfer) { Module['qvPost'](message, transfer || []); },
    receive: function(message) {
      if (message.op === 'event') {
        var event = message.event;
        var item = QVUI.items[event.window];
        // A window that took its host's new size: its canvas, which is here, follows.
        if (event.type === QVUI.SIZE && item && item.canvas) {
          var scale = Number(item.canvas.dataset.qvScale) || 1;
          item.canvas.width = Math.round(event.x * scale);
          item.canvas.height = Math.round(event.y * scale);
        }
        QVUI.push(event);
      } else if (message.op === 'created') {
        var waiting = QVUI.tickets[message.ticket];
        if (waiting && message.id)
          QVUI.items[message.id] = {parent: waiting.parent, visible: false, gone: false};
        if (waiting) waiting.id = message.id;
      } else if (message.op === 'gone') {
        message.ids.forEach(function(id) { if (QVUI.items[id]) QVUI.items[id].gone = true; });
      } else if (message.op === 'answer') {
        if (QVUI.answers[message.number] === 0) QVUI.answers[message.number] = message.result;
      } else if (message.op === 'canvas') {
        var owner = QVUI.items[message.id];
        if (!owner) return;
        owner.canvasState = message.canvas ? 1 : -1;
        if (!message.canvas) return;
        message.canvas.dataset = {qvScale: String(message.scale || 1)};
        owner.canvas = message.canvas;
        specialHTMLTargets['#qvwin-' + message.id + '-canvas'] = message.canvas;
      }
    },
    // 1 when the canvas of window id is here, 0 while it is asked for, -1 when the page gave
    // none (its failure panel says why). The program's own thread has the canvas in the page.
    canvasState: function(id) {
      if (!QVUI.remote()) return 1;
      var item = QVUI.items[id];
      if (!item || item.gone) return -1;
      if (item.canvasState === undefined) {
        item.canvasState = 0;
        QVUI.post({op: 'canvas', id: id});
      }
      return item.canvasState;
    },
    removeRemote: function(id) {
      if (QVUI.items[id]) QVUI.items[id].gone = true;
      QVUI.post({op: 'ui', call: 'remove', args: [id]});
    },
    // Whether the item id is window root or inside it, by the model.
    inside: function(id, root) {
      for (var seen = 0; id && seen < 1000; ++seen) {
        if (id === root) return true;
        var item = QVUI.items[id];
        if (!item || item.gone) return false;
        id = item.parent;
      }
      return false;
    }
  },

  // Starts making an item's element: its id, 0 when none can be made, or in a worker -ticket,
  // whose id qvui_created tells once the page made the element.
  qvui_create__deps: ['$QVUI'],
  qvui_create: function(kind, parentId, x, y, width, height, colour, textPointer, textLength) {
    var text = QVUI.text(textPointer, textLength);
    if (QVUI.remote()) {
      var ticket = QVUI.nextTicket++;
      QVUI.tickets[ticket] = {parent: parentId, id: -1};
      QVUI.post({op: 'ui', call: 'create', ticket: ticket,
                 args: [kind, parentId, x, y, width, height, colour, text]});
      return -ticket;
    }
    if (typeof document === 'undefined') return 0;
    return QVUI.elements().create(kind, parentId, x, y, width, height, colour, text);
  },

  qvui_created__deps: ['$QVUI'],
  qvui_created: function(ticket) {
    var waiting = QVUI.tickets[ticket];
    if (!waiting) return 0;
    if (waiting.id >= 0) delete QVUI.tickets[ticket];
    return waiting.id;
  },

  qvui_set_text__deps: ['$QVUI'],
  qvui_set_text: function(id, textPointer, textLength) {
    var text = QVUI.text(textPointer, textLength);
    if (QVUI.remote()) return QVUI.post({op: 'ui', call: 'setText', args: [id, text]});
    var element = typeof document !== 'undefined' && QVUI.elements().element(id);
    if (element) QVUI.ui.setText(element, text);
  },

  qvui_set_visible__deps: ['$QVUI'],
  qvui_set_visible: function(id, visible, cursorShown) {
    if (QVUI.remote()) {
      if (QVUI.items[id]) QVUI.items[id].visible = !!visible;
      return QVUI.post({op: 'ui', call: 'setVisible', args: [id, visible, cursorShown]});
    }
    if (typeof document !== 'undefined') QVUI.elements().setVisible(id, visible, cursorShown);
  },

  // Visible as IsWindowVisible: the element and every ancestor up to the body are displayed.
  // A worker knows its own items; the page's host element counts as shown.
  qvui_is_visible__deps: ['$QVUI'],
  qvui_is_visible: function(id) {
    if (QVUI.remote()) {
      for (var seen = 0; id && seen < 1000; ++seen) {
        var item = QVUI.items[id];
        if (!item) return seen > 0 ? 1 : 0;
        if (item.gone || !item.visible) return 0;
        id = item.parent;
      }
      return 1;
    }
    if (typeof document === 'undefined') return 0;
    return QVUI.elements().isVisible(id);
  },

  qvui_exists__deps: ['$QVUI'],
  qvui_exists: function(id) {
    if (QVUI.remote()) return QVUI.items[id] && !QVUI.items[id].gone ? 1 : 0;
    if (typeof document === 'undefined') return 0;
    var element = QVUI.elements().element(id);
    return element && element.isConnected ? 1 : 0;
  },

  qvui_attach__deps: ['$QVUI'],
  qvui_attach: function(id) {
    if (QVUI.remote()) {
      // The page made the host element; it says when it is gone.
      QVUI.items[id] = {parent: 0, visible: true, gone: false};
      QVUI.post({op: 'ui', call: 'attach', args: [id]});
      return 1;
    }
    if (typeof document === 'undefined') return 0;
    return QVUI.elements().attach(id);
  },

  qvui_remove__deps: ['$QVUI'],
  qvui_remove: function(id) {
    if (QVUI.remote()) return QVUI.removeRemote(id);
    var element = typeof document !== 'undefined' && QVUI.elements().element(id);
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

  // Whether a drawing loop may go on (WebPage::FrameDue). In a worker whose canvases the
  // browser shows, once an animation frame came since the last time this said yes (a frame that
  // does not come within 50 ms is not waited for); elsewhere always.
  qvui_frame_due__deps: ['$QVUI'],
  qvui_frame_due: function() {
    var drawing = QVUI.remote() && typeof requestAnimationFrame === 'function' &&
        Object.keys(QVUI.items).some(function(id) { return QVUI.items[id].canvas; });
    if (!drawing) return 1;
    var now = performance.now();
    if (!QVUI.frameAsked) {
      QVUI.frameAsked = now;
      QVUI.frameCame = false;
      requestAnimationFrame(function() { QVUI.frameCame = true; });
      return 0;
    }
    if (!QVUI.frameCame && now - QVUI.frameAsked < 50) return 0;
    QVUI.frameAsked = 0;
    return 1;
  },

  // Takes the oldest event of the window root or of an element inside it into the WebEvent at
  // pointer; 1 when there was one. Events of windows that left the page are dropped on the way.
  qvui_take__deps: ['$QVUI'],
  qvui_take: function(rootId, pointer) {
    var remote = QVUI.remote();
    if (!remote && typeof document === 'undefined') return 0;
    var root = remote ? QVUI.items[rootId] : QVUI.elements().element(rootId);
    if (!root || (remote && root.gone)) return 0;
    for (var i = 0; i < QVUI.queue.length; ++i) {
      var event = QVUI.queue[i];
      var element = remote ? QVUI.items[event.window] : QVUI.ui.element(event.window);
      if (!element || (remote && element.gone)) {
        QVUI.queue.splice(i--, 1);
        continue;
      }
      if (remote ? !QVUI.inside(event.window, rootId)
                 : element !== root && !root.contains(element)) continue;
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

  // A modal message box in the page (QVUIElements.openBox). buttons: 0 OK, 1 Yes/No,
  // 2 Yes/No/Cancel. Returns the box's number for qvui_box_result, or 0 when no box could be
  // shown. Nor is one shown when the page has put its failure panel in the applet's place
  // (qvapplet.js): the panel says what went wrong, a box over the whole page would only stand
  // in the way.
  qvui_box_open__deps: ['$QVUI'],
  qvui_box_open: function(textPointer, textLength, captionPointer, captionLength, buttons) {
    if (Module.qvNoBoxes) return 0;
    var text = QVUI.text(textPointer, textLength);
    var caption = QVUI.text(captionPointer, captionLength);
    if (QVUI.remote()) {
      var number = QVUI.nextBox++;
      QVUI.answers[number] = 0;
      QVUI.post({op: 'box', number: number, text: text, caption: caption, buttons: buttons});
      return number;
    }
    if (typeof document === 'undefined') return 0;
    return QVUI.elements().openBox(text, caption, buttons);
  },

  // The answer of a box (1 OK, 2 Cancel, 6 Yes, 7 No), or 0 while it waits for one.
  qvui_box_result__deps: ['$QVUI'],
  qvui_box_result: function(number) {
    if (QVUI.remote()) return number in QVUI.answers ? QVUI.answers[number] : 2;
    return QVUI.elements().boxResult(number);
  },

  qvui_box_close__deps: ['$QVUI'],
  qvui_box_close: function(number) {
    if (QVUI.remote()) {
      delete QVUI.answers[number];
      return QVUI.post({op: 'boxClose', number: number});
    }
    QVUI.elements().closeBox(number);
  }
});
