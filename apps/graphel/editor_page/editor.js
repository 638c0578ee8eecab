// The texture's panels in the browser. The server holds the texture and decides every rule (what
// is enabled, which directions the ring offers, where the crop frame is); this page shows its
// state, sends each edit and redraws from the answer.
'use strict';

const $ = (id) => document.getElementById(id);
let state = null;
let ringMap = null;

// ---- talking to the server ------------------------------------------------------------------

async function call(method, path, body) {
  const response = await fetch(path, {
    method,
    headers: body === undefined ? {} : { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  let answer = {};
  try {
    answer = await response.json();
  } catch (e) {
    answer = { error: 'the editor gave no answer (HTTP ' + response.status + ')' };
  }
  if (!response.ok) throw new Error(answer.error || 'HTTP ' + response.status);
  return answer;
}

function showNotice(text) {
  const notice = $('notice');
  notice.textContent = text;
  notice.hidden = !text;
}

// Sends one edit, then shows what the texture made of it.
async function edit(path, body) {
  try {
    await call('POST', path, body);
    showNotice('');
  } catch (e) {
    showNotice(e.message);
  }
  await refresh();
}

async function refresh() {
  try {
    apply(await call('GET', '/api/state'));
  } catch (e) {
    showNotice('The editor does not answer: ' + e.message);
  }
}

// ---- showing the state ------------------------------------------------------------------------

function setValue(element, value) {
  if (document.activeElement === element && element.type !== 'checkbox' && element.type !== 'radio') return;
  if (element.type === 'checkbox') element.checked = Boolean(value);
  else if (element.type === 'radio') element.checked = Number(element.value) === Number(value);
  else if (element.type === 'number') element.value = Number.isInteger(value) ? value : Number(value).toFixed(3);
  else element.value = String(value);
}

function fillPatternList(names, index) {
  const list = $('c1101');
  const current = Array.from(list.options).map((o) => o.text);
  if (current.length !== names.length || current.some((name, i) => name !== names[i])) {
    list.replaceChildren(...names.map((name, i) => new Option(name, String(i))));
  }
  list.value = String(index);
}

function showMessages(messages) {
  const list = $('c1301');
  const shown = Array.from(list.children).map((item) => item.textContent);
  if (shown.length === messages.length && shown.every((text, i) => text === messages[i])) return;
  list.replaceChildren(...messages.map((text) => Object.assign(document.createElement('li'), { textContent: text })));
  list.lastElementChild?.scrollIntoView({ block: 'nearest' });
}

function apply(next) {
  const previous = state;
  state = next;
  const params = state.params;
  for (const element of document.querySelectorAll('[data-param]')) {
    const name = element.dataset.param;
    if (!(name in params)) continue;
    const range = state.ranges[name];
    if (range && (element.type === 'number' || element.type === 'range')) {
      element.min = range[0];
      element.max = name === 'pdf_page' && state.pageCount > 0 ? state.pageCount : range[1];
    }
    if (element.id !== 'c1101') setValue(element, params[name]);
  }
  $('c1001').textContent = state.button;
  fillPatternList(state.patterns, params.patternname);

  // Enabling rules, as the server worked them out.
  const enabled = state.enabled;
  $('pattern-panel').disabled = !enabled.pattern;
  $('pdf-panel').disabled = !enabled.pdf;
  $('c1208').disabled = !enabled.transition;
  $('c1207').disabled = !enabled.pagecolor;
  $('c1206').classList.toggle('disabled', !enabled.pagecolor);
  $('c1026').disabled = !enabled.jitter;
  $('c1027').disabled = !enabled.jitter;
  $('c1018').disabled = !enabled.offsets;
  $('c1020').disabled = !enabled.offsets;

  // Texts that change only when the texture says so.
  if ($('c1005').textContent !== state.memory) $('c1005').textContent = state.memory;
  $('c1201').textContent = state.pageSize;
  showMessages(state.messages);

  ring.show(params.transition_mode, params.transitiondir, state.offeredDirections, enabled.transition);
  transition.show(params, enabled.transition);
  cropEditor.show(state.cropFrame);
  if (!previous || previous.revision !== state.revision) preview.request();
}

// ---- sending edits ----------------------------------------------------------------------------

function valueOf(element) {
  if (element.type === 'checkbox') return element.checked;
  if (element.type === 'radio' || element.tagName === 'SELECT' || element.type === 'range') return Number(element.value);
  if (element.type === 'number') return element.value === '' ? null : Number(element.value);
  return element.value;
}

function bindControls() {
  for (const element of document.querySelectorAll('[data-param]')) {
    element.addEventListener('change', () => {
      const value = valueOf(element);
      if (value === null || Number.isNaN(value)) {
        refresh();
        return;
      }
      edit('/api/param', { name: element.dataset.param, value });
    });
  }
  $('c1002').addEventListener('click', () => edit('/api/reload'));
  $('c1302').addEventListener('click', () => edit('/api/clear-messages'));
  $('c1001').addEventListener('click', () => fileChooser.open());
  $('c1015').addEventListener('click', () => cropEditor.open());
  $('preview-object').addEventListener('change', () => preview.request());
  for (const title of document.querySelectorAll('.rollup-title')) {
    title.addEventListener('click', () => {
      const rollup = title.closest('.rollup');
      rollup.classList.toggle('closed');
      title.setAttribute('aria-expanded', String(!rollup.classList.contains('closed')));
    });
  }
}

// ---- the file chooser -------------------------------------------------------------------------

const fileChooser = {
  open() {
    const roots = $('file-roots');
    roots.replaceChildren(...state.roots.map((root) => {
      const button = Object.assign(document.createElement('button'), { type: 'button', textContent: root });
      button.addEventListener('click', () => this.list(root));
      return button;
    }));
    $('file-dialog').showModal();
    if (state.roots.length > 0) this.list(state.roots[0]);
  },
  async list(folder) {
    try {
      const listing = await call('GET', '/api/files?dir=' + encodeURIComponent(folder));
      $('file-folder').textContent = listing.folder + (listing.truncated ? ' (only the first entries)' : '');
      const items = [];
      if (listing.parent) items.push(this.item('..', 'folder', () => this.list(listing.parent)));
      for (const entry of listing.entries) {
        if (entry.folder) items.push(this.item(entry.name, 'folder', () => this.list(entry.path)));
        else items.push(this.item(entry.name, entry.accepted ? '' : 'refused', () => this.choose(entry.path)));
      }
      $('file-list').replaceChildren(...items);
    } catch (e) {
      showNotice(e.message);
    }
  },
  item(name, kind, action) {
    const button = Object.assign(document.createElement('button'), { type: 'button', textContent: name, className: kind });
    button.addEventListener('click', action);
    const item = document.createElement('li');
    item.append(button);
    return item;
  },
  async choose(path) {
    $('file-dialog').close();
    await edit('/api/file', { path });
  },
  bind() {
    $('file-open').addEventListener('click', () => this.choose($('file-path').value));
    $('file-path').addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        this.choose($('file-path').value);
      }
    });
  },
};

// ---- the transition direction control -----------------------------------------------------------

const ringLooks = {
  normal: [185, 196, 207],
  selected: [47, 111, 191],
  highlight: [143, 184, 234],
  disabled: [226, 228, 231],
};

const ring = {
  mode: 0, direction: 0, offered: [], enabled: false, hot: -1, pressed: false,
  canvas: null,

  sectorAt(event) {
    if (!ringMap) return -1;
    const box = this.canvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - box.left) * ringMap.size / box.width);
    const y = Math.floor((event.clientY - box.top) * ringMap.size / box.height);
    if (x < 0 || y < 0 || x >= ringMap.size || y >= ringMap.size) return -1;
    const sector = ringMap.sectors[y * ringMap.size + x];
    return sector >= 0 && this.offered[sector] ? sector : -1;
  },
  usable() { return this.enabled && this.mode !== 0; },

  show(mode, direction, offered, enabled) {
    Object.assign(this, { mode, direction, offered, enabled });
    this.canvas.dataset.direction = String(direction);
    this.canvas.classList.toggle('disabled', !this.usable());
    this.draw();
  },
  look(sector) {
    if (!this.usable() || !this.offered[sector]) return ringLooks.disabled;
    if (this.pressed && sector === this.hot) return ringLooks.highlight;
    if (sector === this.direction) return ringLooks.selected;
    return ringLooks.normal;
  },
  draw() {
    if (!ringMap) return;
    const context = this.canvas.getContext('2d');
    const image = context.createImageData(ringMap.size, ringMap.size);
    const looks = Array.from({ length: 8 }, (_, sector) => this.look(sector));
    ringMap.sectors.forEach((sector, i) => {
      if (sector < 0) return;
      image.data.set([...looks[sector], 255], i * 4);
    });
    context.putImageData(image, 0, 0);
  },
  bind() {
    this.canvas = $('c1211');
    this.canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    this.canvas.addEventListener('pointermove', (event) => {
      const hot = this.sectorAt(event);
      if (hot === this.hot) return;
      this.hot = hot;
      this.draw();
    });
    this.canvas.addEventListener('pointerdown', (event) => {
      if (!this.usable()) return;
      if (event.button === 2 && this.pressed) {
        this.pressed = false;  // a right press cancels the pick
        this.canvas.releasePointerCapture(event.pointerId);
      } else if (event.button === 0) {
        this.hot = this.sectorAt(event);
        this.pressed = true;
        this.canvas.setPointerCapture(event.pointerId);
      }
      this.draw();
    });
    this.canvas.addEventListener('pointerup', (event) => {
      if (event.button !== 0 || !this.pressed) return;
      this.pressed = false;
      if (this.canvas.hasPointerCapture(event.pointerId)) this.canvas.releasePointerCapture(event.pointerId);
      this.draw();
      if (this.hot >= 0 && this.hot !== this.direction) {
        this.direction = this.hot;
        this.canvas.dataset.direction = String(this.direction);
        edit('/api/param', { name: 'transitiondir', value: this.direction });
      }
    });
  },
};

// ---- the transition preview: two numbered pages moving through the transition -----------------

const kStepMilliseconds = 100;
const kCycleSeconds = 9;
// Where each direction moves a page, clockwise from up.
const kDirectionVectors = [[0, -1], [1, -1], [1, 0], [1, 1], [0, 1], [-1, 1], [-1, 0], [-1, -1]];

const transition = {
  phase: 0, timer: null, params: null, enabled: false,

  show(params, enabled) {
    this.params = params;
    this.enabled = enabled;
    const running = enabled && params.preview;
    if (running && this.timer === null) {
      this.timer = setInterval(() => {
        this.phase = (this.phase + 0.1) % kCycleSeconds;
        this.draw();
      }, kStepMilliseconds);
    } else if (!running && this.timer !== null) {
      clearInterval(this.timer);
      this.timer = null;
    }
    this.draw();
  },
  // The share of the way from the first page to the second: a third of the cycle on each page,
  // a third moving between them.
  progress() {
    const third = kCycleSeconds / 3;
    return Math.min(1, Math.max(0, (this.phase - third) / third));
  },
  page(context, number, x, y, alpha) {
    const { width, height } = context.canvas;
    const w = width * 0.5;
    const h = height * 0.8;
    const left = (width - w) / 2 + x * width;
    const top = (height - h) / 2 + y * height;
    context.globalAlpha = alpha;
    if (!this.params.transparent) {
      context.fillStyle = this.params.pagecolor;
      context.fillRect(left, top, w, h);
    }
    context.strokeStyle = '#394049';
    context.strokeRect(left + 0.5, top + 0.5, w - 1, h - 1);
    context.fillStyle = '#202428';
    context.font = '12px system-ui, sans-serif';
    context.textAlign = 'center';
    context.fillText('Page ' + number, left + w / 2, top + h / 2 + 4);
    context.globalAlpha = 1;
  },
  draw() {
    const canvas = $('c1213');
    const context = canvas.getContext('2d');
    context.save();
    context.fillStyle = '#d9dde2';
    context.fillRect(0, 0, canvas.width, canvas.height);
    if (this.params.transparent) {
      // A transparent page shows the checkerboard through it.
      context.fillStyle = '#ffffff';
      for (let y = 0; y < canvas.height; y += 8) {
        for (let x = (y / 8) % 2 === 0 ? 0 : 8; x < canvas.width; x += 16) context.fillRect(x, y, 8, 8);
      }
    }
    context.beginPath();
    context.rect(0, 0, canvas.width, canvas.height);
    context.clip();
    const p = this.progress();
    const [dx, dy] = kDirectionVectors[this.params.transitiondir] || [0, 0];
    switch (this.params.transition_mode) {
      case 1:  // scroll: both pages move together
        this.page(context, 1, dx * p, dy * p, 1);
        this.page(context, 2, dx * (p - 1), dy * (p - 1), 1);
        break;
      case 2:  // move in: the second page slides over the first
        this.page(context, 1, 0, 0, 1);
        this.page(context, 2, dx * (p - 1), dy * (p - 1), 1);
        break;
      case 3:  // move out: the first page slides off the second
        this.page(context, 2, 0, 0, 1);
        this.page(context, 1, dx * p, dy * p, 1);
        break;
      default:  // blend
        this.page(context, 1, 0, 0, 1 - p);
        this.page(context, 2, 0, 0, p);
    }
    context.restore();
    canvas.dataset.phase = this.phase.toFixed(1);
  },
};

// ---- the texture on an object, refreshed after each edit without holding up the page ------------

const preview = {
  loading: false, again: false, counter: 0,
  request() {
    if (this.loading) {
      this.again = true;
      return;
    }
    this.loading = true;
    const image = $('preview');
    image.classList.add('stale');
    const done = () => {
      this.loading = false;
      image.classList.remove('stale');
      if (this.again) {
        this.again = false;
        this.request();
      }
    };
    image.onload = done;
    image.onerror = done;
    image.src = '/api/preview.png?size=256&object=' + $('preview-object').value + '&n=' + ++this.counter;
  },
};

// ---- the crop editor ("View Image") -------------------------------------------------------------

const cropEditor = {
  frame: null, drag: null,

  open() {
    const image = $('crop-image');
    image.onload = () => refresh();
    image.src = '/api/view-image.png?n=' + Date.now();
    $('crop-editor').showModal();
  },
  // Display pixels per bitmap pixel.
  scale() {
    const image = $('crop-image');
    return this.frame && this.frame.bitmapWidth > 0 ? image.clientWidth / this.frame.bitmapWidth : 1;
  },
  show(frame) {
    if (this.drag) return;  // the user's drag wins until it is sent
    this.frame = frame || null;
    this.place(frame);
  },
  place(frame) {
    const element = $('crop-frame');
    element.hidden = !frame;
    if (!frame) return;
    const s = this.scale();
    Object.assign(element.style, {
      left: frame.x * s + 'px', top: frame.y * s + 'px', width: frame.width * s + 'px', height: frame.height * s + 'px',
    });
  },
  bind() {
    const element = $('crop-frame');
    element.addEventListener('pointerdown', (event) => {
      if (!this.frame) return;
      event.preventDefault();
      element.setPointerCapture(event.pointerId);
      this.drag = {
        resize: event.target.id === 'crop-handle',
        startX: event.clientX, startY: event.clientY,
        from: { ...this.frame }, to: { ...this.frame },
      };
    });
    element.addEventListener('pointermove', (event) => {
      if (!this.drag) return;
      const s = this.scale();
      const dx = (event.clientX - this.drag.startX) / s;
      const dy = (event.clientY - this.drag.startY) / s;
      const from = this.drag.from;
      this.drag.to = this.drag.resize
        ? { ...from, width: Math.max(1, from.width + dx), height: Math.max(1, from.height + dy) }
        : { ...from, x: from.x + dx, y: from.y + dy };
      this.place(this.drag.to);
    });
    element.addEventListener('pointerup', async () => {
      if (!this.drag) return;
      const { x, y, width, height } = this.drag.to;
      this.drag = null;
      await edit('/api/crop', { x, y, width, height });
    });
  },
};

// ---- start ---------------------------------------------------------------------------------------

async function start() {
  bindControls();
  fileChooser.bind();
  ring.bind();
  cropEditor.bind();
  try {
    ringMap = await call('GET', '/api/ring');
  } catch (e) {
    showNotice(e.message);
  }
  await refresh();
  // Other tabs edit the same texture, and render threads post memory and messages: keep up.
  setInterval(refresh, 1000);
}

start();
