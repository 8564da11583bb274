/* The studio page's code: the scene being built is vohost's scene JSON itself (docs/scenes.md), edited
   through the frame, object and event-line editors and the catalog browser; every edit runs it again
   through the module (NimboStudio) and plays the run with NimboRenderer. docs/studio.md explains it. */
"use strict";
(async () => {
  const $ = (id) => document.getElementById(id);
  const CREATED = -1;  // the step number of the frame as created
  // A scene runs on the page's thread to its last step: these keep a run short enough to stay live.
  const MAX_STEPS = 2000, MAX_OBJECTS = 2000;
  const FELT_RUN_MS = 30;  // a run slower than this is felt while dragging or typing
  const INT_LOW = -2147483648, INT_HIGH = 2147483647;
  const COORDINATE_LOW = -32768, COORDINATE_HIGH = 32767;  // a position packs each in 16 bits
  const NAME_UNITS = 23;  // an object type's name, in UTF-16 units
  const TEXT_UNITS = 4096;
  const HOST_CONDITIONS = [
    { label: "Start of frame", make: () => ({ host: "start of frame" }) },
    { label: "Every frame", make: () => ({ host: "every frame" }) },
    { label: "Frame N", make: () => ({ host: "frame", frame: 1 }) },
  ];
  const HOST_ACTIONS = [
    { label: "Log a value", make: () => ({ host: "log", name: "value", value: 0 }) },
    { label: "Destroy object", make: () => ({ host: "destroy object", object: { object: firstTypeName() } }) },
  ];

  const studio = await NimboStudio();
  const catalog = JSON.parse(studio.catalog());
  const entries = {};
  for (const kind of ["actions", "conditions", "expressions"]) {
    entries[kind] = new Map(catalog[kind].map((entry) => [entry.code, entry]));
  }

  let scene = starterScene();
  let run = null, view = null, data = null;
  let pointer = null;
  let chosenLine = 0, chosenObject = null, drag = null, dirty = false;
  let lastRun = { runMs: 0, decodeMs: 0, drawMs: 0, totalMs: 0, steps: 0, objects: 0 };
  let lastPicture = { runMs: 0, decodeMs: 0, drawMs: 0 };
  let edits = 0;  // counts runs asked for, so that a whole run still to come knows when it is needless
  let labelsChosen = false;  // until the designer sets them, labels are on as the renderer has them

  function starterScene() {
    const gems = Array.from({ length: 12 },
                            () => ({ x: 320, y: 240, width: 24, height: 24, hotSpotX: 12, hotSpotY: 12 }));
    return {
      frame: { width: 640, height: 480, frameRate: 60, frames: 120 },
      objects: [{ name: "Gem", instances: gems }],
      nimbo: [{ text: "" }],
      events: [{
        conditions: [{ host: "start of frame" }],
        actions: [{ nimbo: 0, action: 11, params: [{ object: "Gem" }, 80, 160, 40] },
                  { nimbo: 0, action: 21, params: [{ object: "Gem" }, 24, 4] }],
      }],
    };
  }
  const emptyScene = () => ({ frame: { width: 640, height: 480, frameRate: 60, frames: 120 }, objects: [],
                              nimbo: [{ text: "" }], events: [] });
  const firstTypeName = () => (scene.objects[0] ? scene.objects[0].name : "");
  const objectCount = () => scene.objects.reduce((sum, type) => sum + type.instances.length, 0);

  // --- Small helpers -----------------------------------------------------------------------------------

  function element(tag, props = {}, ...children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(props)) {
      if (key === "dataset") Object.assign(node.dataset, value);
      else if (key in node) node[key] = value;
      else node.setAttribute(key, value);
    }
    node.append(...children);
    return node;
  }
  const clamp = (value, low, high) => Math.min(high, Math.max(low, value));
  const bounded = NimboRenderer.bounded;
  // A number field reports a value when it changes, not when the field merely loses the focus.
  function numberField(value, low, high, onValue, label) {
    const input = element("input", { type: "number", min: String(low), max: String(high), step: "1",
                                     value: String(value), "aria-label": label || "" });
    let last = value;
    const use = () => {
      const kept = bounded(input, low, high, last);
      if (kept === last) return;
      last = kept;
      onValue(kept);
    };
    input.addEventListener("input", () => input.value !== "" && use());
    input.addEventListener("change", use);
    return input;
  }
  function textField(value, onValue, label, units = TEXT_UNITS) {
    const input = element("input", { type: "text", value, maxLength: units, "aria-label": label || "" });
    input.addEventListener("input", () => onValue(input.value));
    return input;
  }
  function labelled(title, field) {
    const shown = title.length > 42 ? title.slice(0, 40) + "\u2026" : title;
    return element("label", { className: "field", title }, shown, field);
  }
  // The first list of numbers a text parameter's title gives as its example between curly quotes
  // ("E.g. “ 50,50,-2,0,0,0 ”", "E.g. “(3x5) Matrix >> “ 3,5,0,0,0,1 ”").
  function exampleIn(title) {
    const found = /E\.g\..*?\u201c\s*([-+0-9., ]+?)\s*\u201d/.exec(title || "");
    return found ? found[1] : "";
  }
  function defaultParam(parameter) {
    if (parameter.kind === "object") return { object: firstTypeName() };
    if (parameter.kind === "position") return { x: 0, y: 0 };
    if (parameter.kind === "text") return exampleIn(parameter.title);
    return 0;
  }

  // --- Runs ---------------------------------------------------------------------------------------------

  // Edits mark the scene dirty; a task of its own runs it once, however many edits came before it (also
  // those made while a slow run held the page). Not the next animation frame: waiting for it would add
  // up to a frame to every edit's picture.
  function edited() {
    if (dirty) return;
    dirty = true;
    setTimeout(() => {
      if (dirty) runNow();
    }, 0);
  }

  // A run that is felt goes in two: first the picture of the step in view alone, which comes at once,
  // then, once that picture is on the screen, the whole run, which a newer edit makes needless.
  function runNow() {
    dirty = false;
    const edit = ++edits;
    if (lastRun.runMs > FELT_RUN_MS && view && drawPicture(Math.min(playback.current, scene.frame.frames - 1))) {
      requestAnimationFrame(() => setTimeout(() => edit === edits && runWhole(), 0));
    } else {
      runWhole();
    }
  }

  // The step in view alone, with the view's options; the run, the playback and the panel keep the last
  // run's until the whole run comes. False when the module gave no picture (the whole run tells why).
  function drawPicture(k) {
    const start = performance.now();
    const result = studio.replayStep(JSON.stringify(scene), k + 1, $("motion").checked);
    const ran = performance.now();
    if (result.error !== null || result.data === null) return false;
    const picture = NimboRenderer.create($("view"), NimboRenderer.decodeRun(JSON.parse(result.data)));
    Object.assign(picture.options, view.options);
    const decoded = performance.now();
    picture.draw(CREATED);
    const end = performance.now();
    lastPicture = { runMs: ran - start, decodeMs: decoded - ran, drawMs: end - decoded };
    document.body.dataset.partialRuns = String(Number(document.body.dataset.partialRuns || 0) + 1);
    return true;
  }

  function runWhole() {
    ++edits;  // a whole run waiting for its picture's frame is needless now
    const start = performance.now();
    const result = studio.replayScene(JSON.stringify(scene), null, $("motion").checked);
    const ran = performance.now();
    const shownError = $("error");
    shownError.hidden = result.error === null;
    shownError.textContent = result.error === null ? "" : "vohost: " + result.error;
    if (result.data !== null) {
      data = JSON.parse(result.data);
      run = NimboRenderer.decodeRun(data);
      const options = view ? view.options : null;
      view = NimboRenderer.create($("view"), run);
      if (!labelsChosen) $("labels").checked = view.options.labels;
      if (options) Object.assign(view.options, options, { hidden: options.hidden });
      NimboRenderer.legend($("legend"), view, redraw);
      for (const t of view.options.hidden) {
        const item = $("legend").querySelector(`[data-type="${t}"]`);
        if (item) item.classList.add("nr-off");
      }
    }
    const decoded = performance.now();
    playback.showSteps();
    playback.show(Math.min(playback.current, run.steps - 1));
    const end = performance.now();
    lastRun = { runMs: ran - start, decodeMs: decoded - ran, drawMs: end - decoded, totalMs: end - start,
                steps: run.steps, objects: run.objects.length };
    $("run-info").textContent = `${run.steps} steps of ${run.objects.length} objects: ` +
      `run ${(ran - start).toFixed(0)} ms, picture ${(lastRun.decodeMs + lastRun.drawMs).toFixed(0)} ms`;
    document.body.dataset.runs = String(Number(document.body.dataset.runs || 0) + 1);
  }

  // --- Playback -----------------------------------------------------------------------------------------

  function draw(k) {
    view.options.labels = $("labels").checked;
    view.options.motion = $("motion").checked;
    view.options.trails = $("trails").checked;
    view.options.pointed = pointer ? view.hitTest(pointer.x, pointer.y, k) : -1;
    view.draw(k);
  }
  function redraw() {
    draw(playback.current);
    showPointed(playback.current);
  }
  // A field being typed in keeps its own keys.
  const typing = (target) => target instanceof HTMLTextAreaElement || target instanceof HTMLSelectElement ||
    (target instanceof HTMLInputElement && !["checkbox", "range", "button", "file"].includes(target.type));
  const playback = NimboRenderer.playback({
    steps: () => run.steps,
    rate: () => (scene.frame.frameRate > 0 ? scene.frame.frameRate : 60),
    showStep(k) {
      draw(k);
      showPanel(k);
    },
    typing,
  });

  // --- The panel beside the frame -----------------------------------------------------------------------

  const changeAt = NimboRenderer.changeAt;
  const atStep = (entries, k) => entries.filter((entry) => entry[0] === k);
  function showPanel(k) {
    const texts = $("texts");
    texts.replaceChildren();
    data.texts.forEach((changes, n) => {
      const change = changeAt(changes, k);
      texts.append(element("pre", { className: "lines", id: "text-" + n }, change ? change[1] : ""));
    });
    const events = $("events");
    const change = k === CREATED ? null : changeAt(data.linesRun, k);
    const lines = change ? change[1] : [];
    events.replaceChildren(lines.length === 0 ? element("div", { className: "none" }, "none")
      : element("ol", {}, ...lines.map((line) => element("li", { dataset: { line: String(line + 1) } },
        element("span", { className: "line" }, `line ${line + 1}`), " " + (data.events[line] || "")))));
    const logged = k === CREATED ? [] : atStep(data.log, k);
    const log = $("log");
    log.replaceChildren(logged.length === 0 ? element("div", { className: "none" }, "nothing") : element("table"));
    for (const [, name, value] of logged) {
      const row = log.firstChild.insertRow();
      row.insertCell().textContent = name;
      const shown = typeof value === "string" ? element("div", { className: "lines" }, value) : String(value);
      row.insertCell().append(shown);
    }
    const boxes = k === CREATED ? [] : atStep(data.messageBoxes, k);
    const box = ([, caption, text]) => element("div", { className: "box" },
      element("div", { className: "caption" }, caption), element("div", { className: "text" }, text));
    const none = element("div", { className: "none" }, "none");
    $("boxes").replaceChildren(...(boxes.length === 0 ? [none] : boxes.map(box)));
    const desk = changeAt(data.desk, k);
    if (desk) {
      $("window-caption").textContent = desk[5];
      $("window-show").textContent = desk[6] === "normal" ? "" : desk[6];
    }
    showPointed(k);
  }
  function showPointed(k) {
    const i = view.options.pointed;
    if (i < 0) $("object-info").replaceChildren(element("div", { className: "none" }, "Point at an object."));
    else NimboRenderer.describeInto($("object-info"), view.describe(i, k));
  }

  // --- The frame and its objects ------------------------------------------------------------------------

  function showFrameFields() {
    const frame = scene.frame;
    $("frames").value = String(frame.frames);
    $("frame-width").value = String(frame.width);
    $("frame-height").value = String(frame.height);
    $("frame-rate").value = String(frame.frameRate);
    $("nimbo-text").value = scene.nimbo[0] && typeof scene.nimbo[0].text === "string" ? scene.nimbo[0].text : "";
  }
  const frameFields = [["frames", "frames", 0, MAX_STEPS, 120], ["frame-width", "width", 16, 4096, 640],
                       ["frame-height", "height", 16, 4096, 480], ["frame-rate", "frameRate", 1, 240, 60]];
  for (const [id, key, low, high, fallback] of frameFields) {
    const use = () => {
      const value = bounded($(id), low, high, fallback);
      if (scene.frame[key] === value) return;
      scene.frame[key] = value;
      edited();
    };
    $(id).addEventListener("input", () => $(id).value !== "" && use());
    $(id).addEventListener("change", use);
  }
  $("nimbo-text").addEventListener("input", () => {
    if (scene.nimbo.length === 0) scene.nimbo.push({});
    scene.nimbo[0].text = $("nimbo-text").value;
    edited();
  });

  // A renamed type keeps every reference to it in the event lines.
  function renameReferences(node, from, to) {
    if (Array.isArray(node)) node.forEach((item) => renameReferences(item, from, to));
    else if (node && typeof node === "object") {
      if (node.object === from) node.object = to;
      for (const value of Object.values(node)) renameReferences(value, from, to);
    }
  }
  function uniqueName(base) {
    for (let n = 1; ; n++) {
      const name = `${base}${n}`;
      if (!scene.objects.some((type) => type.name === name)) return name;
    }
  }
  function setInstanceCount(type, count) {
    const room = MAX_OBJECTS - objectCount() + type.instances.length;
    const wanted = clamp(count, 1, Math.max(1, room));
    const model = type.instances[type.instances.length - 1] || { x: 0, y: 0, width: 32, height: 32 };
    while (type.instances.length < wanted) {
      const k = type.instances.length;
      type.instances.push({ ...model, x: (model.x || 0) + 8 * (k % 40), y: (model.y || 0) + 8 * Math.floor(k / 40) });
    }
    type.instances.length = wanted;
    return wanted;
  }
  // A type's size is its instances' size: the editor sizes them together.
  function sizeOf(type) {
    const first = type.instances[0] || {};
    return [first.width ?? 32, first.height ?? 32];
  }
  function setSize(type, width, height) {
    for (const instance of type.instances) Object.assign(instance, { width, height, hotSpotX: Math.floor(width / 2),
                                                                     hotSpotY: Math.floor(height / 2) });
  }

  function showObjects() {
    const table = $("objects");
    const heads = ["name", "instances", "width", "height", ""].map((head) => element("th", {}, head));
    table.replaceChildren(element("tr", {}, ...heads));
    scene.objects.forEach((type, t) => {
      const [width, height] = sizeOf(type);
      const name = textField(type.name, (value) => {
        const to = value.trim() || uniqueName("Object");
        renameReferences(scene.events, type.name, to);
        type.name = to;
        edited();
      }, "name", NAME_UNITS);
      name.addEventListener("change", () => showEvents());
      const count = numberField(type.instances.length, 1, MAX_OBJECTS, (value) => {
        count.value = String(setInstanceCount(type, value));
        edited();
      }, "instances");
      const widthField = numberField(width, 1, 1024, (value) => {
        setSize(type, value, sizeOf(type)[1]);
        edited();
      }, "width");
      const heightField = numberField(height, 1, 1024, (value) => {
        setSize(type, sizeOf(type)[0], value);
        edited();
      }, "height");
      const remove = element("button", { className: "remove", title: "Remove this type and its instances" }, "\u00d7");
      remove.addEventListener("click", () => {
        scene.objects.splice(t, 1);
        chosenObject = null;
        showObjects();
        showEvents();
        edited();
      });
      const row = element("tr", { dataset: { type: type.name } }, ...[name, count, widthField, heightField, remove]
        .map((field) => element("td", {}, field)));
      row.classList.toggle("chosen", chosenObject !== null && chosenObject.type === t);
      table.append(row);
    });
    showSelected();
  }
  $("add-object").addEventListener("click", () => {
    if (objectCount() >= MAX_OBJECTS) return;
    // Each new type starts in a place of its own along the top of the frame.
    const t = scene.objects.length, across = Math.max(1, Math.floor((scene.frame.width - 48) / 96));
    const x = 48 + (t % across) * 96, y = 48 + (Math.floor(t / across) * 96) % Math.max(96, scene.frame.height - 48);
    const instance = { x, y, width: 32, height: 32, hotSpotX: 16, hotSpotY: 16 };
    scene.objects.push({ name: uniqueName("Object"), instances: [instance] });
    chosenObject = { type: scene.objects.length - 1, instance: 0 };
    showObjects();
    showEvents();
    edited();
  });

  // The chosen instance's place in the frame as created.
  function showSelected() {
    const box = $("selected");
    const type = chosenObject && scene.objects[chosenObject.type];
    const instance = type && type.instances[chosenObject.instance];
    if (!instance) {
      box.replaceChildren(element("span", { className: "none" }, "Click an object to place it by number."));
      return;
    }
    const field = (key) => numberField(instance[key] ?? 0, COORDINATE_LOW, COORDINATE_HIGH, (value) => {
      instance[key] = value;
      edited();
    }, key);
    box.replaceChildren(element("b", {}, `${type.name} ${chosenObject.instance}`), " as created: ",
                        element("label", {}, "x ", field("x")), " ", element("label", {}, "y ", field("y")));
  }

  // Canvas pixels of a mouse event.
  function canvasPoint(event) {
    const canvas = $("view");
    const scale = canvas.width / canvas.clientWidth;
    return { x: event.offsetX * scale, y: event.offsetY * scale };
  }
  // Clicking an object chooses it; dragging it moves it in the frame as created, which is shown from the
  // first few pixels of the drag on.
  const DRAG_PIXELS = 3;
  $("view").addEventListener("pointerdown", (event) => {
    const point = canvasPoint(event);
    const i = view.hitTest(point.x, point.y, playback.current);
    if (i < 0) return;
    const object = run.objects[i];
    const instance = scene.objects[object.type] && scene.objects[object.type].instances[object.instance];
    if (!instance) return;
    chosenObject = { type: object.type, instance: object.instance };
    showObjects();
    drag = { point, instance, x: instance.x ?? 0, y: instance.y ?? 0, moving: false };
    $("view").setPointerCapture(event.pointerId);
  });
  $("view").addEventListener("pointermove", (event) => {
    pointer = canvasPoint(event);
    if (!drag) {
      redraw();
      return;
    }
    if (!drag.moving) {
      if (Math.hypot(pointer.x - drag.point.x, pointer.y - drag.point.y) < DRAG_PIXELS) return;
      drag.moving = true;
      $("view").classList.add("dragging");
      playback.stepTo(CREATED);
    }
    drag.instance.x = clamp(Math.round(drag.x + pointer.x - drag.point.x), COORDINATE_LOW, COORDINATE_HIGH);
    drag.instance.y = clamp(Math.round(drag.y + pointer.y - drag.point.y), COORDINATE_LOW, COORDINATE_HIGH);
    edited();
  });
  const endDrag = () => {
    if (!drag) return;
    drag = null;
    $("view").classList.remove("dragging");
    showSelected();
  };
  $("view").addEventListener("pointerup", endDrag);
  $("view").addEventListener("pointercancel", endDrag);
  $("view").addEventListener("mouseleave", () => {
    pointer = null;
    redraw();
  });

  // --- Event lines --------------------------------------------------------------------------------------

  function objectField(selection, onValue) {
    const select = element("select", { "aria-label": "object" });
    for (const type of scene.objects) select.append(element("option", { value: type.name }, type.name));
    if (!scene.objects.some((type) => type.name === selection.object)) {
      select.append(element("option", { value: selection.object }, selection.object || "(no object)"));
    }
    select.value = selection.object;
    select.addEventListener("change", () => onValue({ ...selection, object: select.value }));
    return select;
  }
  // A parameter's field as the catalog types it; a value the editor does not build (an expression, an
  // alterable value) stays as it is, shown as JSON.
  function paramField(parameter, value, onValue) {
    const kind = parameter.kind;
    if ((kind === "number" || kind === "integer") && typeof value === "number") {
      return numberField(value, INT_LOW, INT_HIGH, onValue, parameter.title);
    }
    if (kind === "text" && typeof value === "string") return textField(value, onValue, parameter.title);
    if (kind === "position" && value && typeof value.x === "number") {
      const position = { ...value };
      const part = (key) => numberField(position[key], COORDINATE_LOW, COORDINATE_HIGH, (n) => {
        position[key] = n;
        onValue({ ...position });
      }, parameter.title + " " + key);
      return element("span", {}, "x ", part("x"), " y ", part("y"));
    }
    if (kind === "object" && value && typeof value.object === "string") return objectField(value, onValue);
    return element("code", {}, JSON.stringify(value));
  }
  function paramFields(entry, params, changed = () => {}) {
    return entry.parameters.map((parameter, p) => labelled(parameter.title || parameter.kind,
      paramField(parameter, params[p], (value) => {
        params[p] = value;
        changed();
        edited();
      })));
  }
  // The display string as the event editor shows the line: %0, %1... by the parameters' values, %o by
  // the object's name.
  function displayed(entry, params) {
    const shown = (value) => {
      if (typeof value === "string") return `"${value}"`;
      if (value && typeof value.object === "string") return value.object;
      if (value && typeof value.x === "number") return `(${value.x}, ${value.y})`;
      return typeof value === "number" ? String(value) : JSON.stringify(value);
    };
    const parameter = (all, p) => (p < params.length ? shown(params[p]) : all);
    return entry.displayString.replace(/%o/g, "NIMBO").replace(/%(\d)/g, parameter);
  }
  // A log's value: a number, a text or an expression of the catalog with its parameters.
  function valueFields(action) {
    const value = action.value;
    const set = (next) => {
      action.value = next;
      edited();
    };
    if (typeof value === "number") return [labelled("value", numberField(value, INT_LOW, INT_HIGH, set))];
    if (typeof value === "string") return [labelled("value", textField(value, set))];
    const entry = value && typeof value.expression === "number" ? entries.expressions.get(value.expression) : null;
    if (!entry) return [labelled("value", element("code", {}, JSON.stringify(value)))];
    value.params = value.params || [];
    const what = element("span", { className: "what", title: entry.displayString }, entry.displayString);
    return [what, ...paramFields(entry, value.params)];
  }
  function partOf(item, isCondition) {
    const kind = isCondition ? "conditions" : "actions";
    const code = isCondition ? item.condition : item.action;
    const entry = typeof code === "number" ? entries[kind].get(code) : null;
    const className = "what " + (isCondition ? "condition" : "action");
    const what = (text, title) => element("span", { className, title }, text);
    const set = (key) => (value) => {
      item[key] = value;
      edited();
    };
    if (entry) {
      item.params = item.params || [];
      const display = element("div", { className: "display" }, displayed(entry, item.params));
      const changed = () => (display.textContent = displayed(entry, item.params));
      return [what(entry.menuText.replace(/\s+/g, " ").trim(), entry.displayString), display,
              ...paramFields(entry, item.params, changed)];
    }
    if (item.host === "frame") {
      return [what("Frame"), labelled("frame", numberField(item.frame ?? 0, 0, MAX_STEPS, set("frame")))];
    }
    if (item.host === "log") {
      return [what("Log"), labelled("name", textField(item.name ?? "", set("name"))), ...valueFields(item)];
    }
    if (item.host === "destroy object" && item.object && typeof item.object.object === "string") {
      return [what("Destroy object"), objectField(item.object, set("object"))];
    }
    if (typeof item.host === "string" && Object.keys(item).length === 1) {
      return [what(item.host[0].toUpperCase() + item.host.slice(1))];
    }
    return [what(isCondition ? "Condition" : "Action"), element("code", {}, JSON.stringify(item))];
  }

  function showEvents() {
    const list = $("lines");
    list.replaceChildren();
    chosenLine = clamp(chosenLine, 0, Math.max(0, scene.events.length - 1));
    scene.events.forEach((line, l) => {
      line.conditions = line.conditions || [];
      line.actions = line.actions || [];
      const item = element("li", { dataset: { line: String(l + 1) } });
      item.classList.toggle("chosen", l === chosenLine);
      item.addEventListener("click", () => {
        if (chosenLine === l) return;
        chosenLine = l;
        for (const other of list.children) other.classList.toggle("chosen", other === item);
      });
      const remover = (array, index) => {
        const button = element("button", { className: "remove", title: "Remove" }, "\u00d7");
        button.addEventListener("click", (event) => {
          event.stopPropagation();
          if (index < 0) scene.events.splice(l, 1); else array.splice(index, 1);
          showEvents();
          edited();
        });
        return button;
      };
      item.append(element("div", { className: "part" }, element("b", {}, `line ${l + 1}`), remover(scene.events, -1)));
      const none = (text) => element("div", { className: "part none" }, text);
      const parts = (items, isCondition, key) => items.map((part, index) => element("div",
        { className: "part", dataset: { [key]: String(index) } }, ...partOf(part, isCondition), remover(items, index)));
      if (line.conditions.length === 0) item.append(none("every pass (no condition)"));
      item.append(...parts(line.conditions, true, "condition"), ...parts(line.actions, false, "action"));
      if (line.actions.length === 0) item.append(none("no action yet: click one in the catalog"));
      list.append(item);
    });
  }
  function lineForCatalog() {
    if (scene.events.length === 0) scene.events.push({ conditions: [], actions: [] });
    return scene.events[clamp(chosenLine, 0, scene.events.length - 1)];
  }
  $("add-line").addEventListener("click", () => {
    scene.events.push({ conditions: [], actions: [] });
    chosenLine = scene.events.length - 1;
    showEvents();
    edited();
  });

  // --- The catalog, laid out as the editor's menus ------------------------------------------------------

  // A condition heads the line (a raised one must); an action is added; an expression is logged.
  function useFromCatalog(kind, make) {
    const line = lineForCatalog();
    if (kind === "conditions") line.conditions = [make()];
    else line.actions.push(make());
    showEvents();
    edited();
  }
  const extensionItem = (kind, entry) => {
    const params = entry.parameters.map(defaultParam);
    if (kind === "conditions") return { nimbo: 0, condition: entry.code, params };
    if (kind === "actions") return { nimbo: 0, action: entry.code, params };
    return { host: "log", name: entry.displayString, value: { expression: entry.code, nimbo: 0, params } };
  };
  function menuItem(label, title, use) {
    const button = element("button", { className: "item", title, type: "button" }, label);
    button.addEventListener("click", use);
    return button;
  }
  function showCatalog() {
    const menus = $("menus");
    const parts = [["conditions", "Conditions"], ["actions", "Actions"], ["expressions", "Expressions"]];
    for (const [kind, caption] of parts) {
      const top = element("details", { open: kind !== "expressions", dataset: { kind } },
                          element("summary", {}, caption));
      const submenus = new Map([["", top]]);
      const menuFor = (path) => {
        let key = "", menu = top;
        for (const name of path) {
          key += "\u0000" + name;
          if (!submenus.has(key)) {
            const sub = element("details", { dataset: { menu: name } },
                                element("summary", {}, name.trim() || "(menu)"));
            menu.append(sub);
            submenus.set(key, sub);
          }
          menu = submenus.get(key);
        }
        return menu;
      };
      const host = kind === "conditions" ? HOST_CONDITIONS : kind === "actions" ? HOST_ACTIONS : [];
      if (host.length) {
        const menu = menuFor(["vohost"]);
        for (const item of host) menu.append(menuItem(item.label, "", () => useFromCatalog(kind, item.make)));
      }
      for (const entry of catalog[kind]) {
        const path = entry.menuPath.filter((name) => name.trim() !== "");
        menuFor(path).append(menuItem(entry.menuText.replace(/\s+/g, " ").trim(),
          [entry.displayString, ...entry.parameters.map((p) => `${p.kind}: ${p.title}`)].join("\n"),
          () => useFromCatalog(kind, () => extensionItem(kind, entry))));
      }
      menus.append(top);
    }
  }

  // --- Save and load ------------------------------------------------------------------------------------

  // The file is made when the link is about to be used (pressed, focused or clicked) rather than at every
  // edit: written out, a scene of a thousand objects took milliseconds of each edit's picture.
  let savedUrl = null;
  function refreshSave() {
    if (savedUrl) URL.revokeObjectURL(savedUrl);
    savedUrl = URL.createObjectURL(new Blob([JSON.stringify(scene, null, 2) + "\n"], { type: "application/json" }));
    $("save").href = savedUrl;
  }
  for (const type of ["pointerdown", "focus", "click"]) $("save").addEventListener(type, refreshSave);
  // What keeps a file from being edited here, or null. Anything else a file may hold the editor keeps as
  // it is, and vohost judges it when it runs.
  function sceneProblem(next) {
    const isObject = (value) => value !== null && typeof value === "object" && !Array.isArray(value);
    const listOf = (value, check) => value === undefined || (Array.isArray(value) && value.every(check));
    if (!isObject(next)) return "a scene is a JSON object";
    if (!listOf(next.objects, (type) => isObject(type) && listOf(type.instances, isObject))) {
      return "its objects are not a list of types, each with a list of instances";
    }
    if (!listOf(next.nimbo, isObject)) return "its nimbo is not a list of NIMBO instances";
    const isLine = (line) => isObject(line) && listOf(line.conditions, isObject) && listOf(line.actions, isObject);
    if (!listOf(next.events, isLine)) return "its events are not a list of lines of conditions and actions";
    const count = (next.objects || []).reduce((sum, type) => sum + (type.instances || []).length, 0);
    return count > MAX_OBJECTS ? `it holds ${count} objects, the studio runs ${MAX_OBJECTS} at most` : null;
  }
  function useScene(next) {
    scene = next;
    scene.frame = { width: 640, height: 480, frameRate: 60, frames: 1, ...(scene.frame || {}) };
    scene.frame.frames = clamp(Math.round(Number(scene.frame.frames)) || 0, 0, MAX_STEPS);
    scene.objects = scene.objects || [];
    for (const type of scene.objects) type.instances = type.instances || [];
    scene.nimbo = scene.nimbo || [];
    scene.events = scene.events || [];
    chosenLine = 0;
    chosenObject = null;
    playback.current = 0;
    showFrameFields();
    showObjects();
    showEvents();
    edited();
  }
  $("new").addEventListener("click", () => useScene(emptyScene()));
  $("load").addEventListener("change", async () => {
    const file = $("load").files[0];
    if (!file) return;
    $("load").value = "";
    try {
      const next = JSON.parse(await file.text());
      const problem = sceneProblem(next);
      if (problem) throw new Error(problem);
      useScene(next);
    } catch (error) {
      $("error").hidden = false;
      $("error").textContent = `${file.name} is not a scene: ${error.message}; the scene shown is kept`;
    }
  });
  $("run").addEventListener("click", () => runWhole());

  // --- Display controls ---------------------------------------------------------------------------------

  $("labels").addEventListener("input", () => {
    labelsChosen = true;
    redraw();
  });
  $("trails").addEventListener("input", redraw);
  $("motion").addEventListener("input", () => runWhole());  // the walls and orbits are read during the run

  showCatalog();
  useScene(scene);
  runWhole();

  // Read-only: what the page shows, for tests and measurements.
  window.studio = Object.freeze({
    loadMs: performance.now(),  // from the start of navigation to the first picture
    get scene() { return JSON.parse(JSON.stringify(scene)); },
    get frame() { return playback.current; },
    get steps() { return run.steps; },
    get error() { return $("error").hidden ? null : $("error").textContent; },
    get lastRun() { return { ...lastRun }; },
    get lastPicture() { return { ...lastPicture }; },
    objectsAt(k) {
      if (!(k >= CREATED && k < run.steps)) throw new RangeError("no step " + k + " in this run of " + run.steps);
      return run.objects.map((_, i) => {
        const d = view.describe(i, k);
        return { type: d.type, instance: d.instance, x: d.x, y: d.y, destroyed: d.destroyed };
      });
    },
    drawn() { return JSON.parse(JSON.stringify(view.drawn)); },
    view: Object.freeze({ originX: view.margin, originY: view.margin }),
  });
  document.body.dataset.ready = "true";
})().catch((error) => {
  document.body.dataset.failed = "true";
  const shown = document.createElement("pre");
  shown.textContent = "The studio could not start: " + error.message;
  document.body.prepend(shown);
});
