// Renders an SVG file to PNG with resvg (npm @resvg/resvg-js), the way `graphel render` does:
//   node resvg_render.mjs IN.svg OUT.png SIZE
//       the whole drawing stretched to SIZE x SIZE;
//   node resvg_render.mjs IN.svg OUT.png SIZE TILE ROW COLUMN BORDER
//       the (TILE + 2 BORDER)-pixel window at (COLUMN * TILE - BORDER, ROW * TILE - BORDER) of the
//       SIZE x SIZE image, without ever making the whole image;
//   node resvg_render.mjs --wrapper IN.svg SIZE TILE ROW COLUMN BORDER
//       prints the SVG that draws that window, for renderers without a window option (rsvg-convert).
// The window is drawn by an outer svg whose viewBox is the window in the drawing's own units; the
// drawing becomes a nested svg of its own width and height.
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);

function fail(message) {
  process.stderr.write(`resvg_render: ${message}\n`);
  process.exit(2);
}

function attribute(tag, name) {
  const match = tag.match(new RegExp(`\\s${name}\\s*=\\s*["']([^"']*)["']`));
  return match ? match[1] : null;
}

// The drawing's width and height in user units: its width and height attributes, else its viewBox.
function extent(rootTag) {
  const box = (attribute(rootTag, 'viewBox') || '').trim().split(/[\s,]+/).map(Number);
  const width = parseFloat(attribute(rootTag, 'width') ?? '');
  const height = parseFloat(attribute(rootTag, 'height') ?? '');
  if (width > 0 && height > 0) return [width, height];
  if (box.length === 4 && box[2] > 0 && box[3] > 0) return [box[2], box[3]];
  fail('the drawing needs width and height or a viewBox');
}

function windowSvg(text, size, tile, row, column, border) {
  const start = text.search(/<svg[\s>]/);
  if (start < 0) fail('no <svg> element');
  const end = text.indexOf('>', start);
  const rootTag = text.slice(start, end + 1);
  const [width, height] = extent(rootTag);
  const side = tile + 2 * border;
  const sx = width / size, sy = height / size;
  const viewBox = [(column * tile - border) * sx, (row * tile - border) * sy, side * sx, side * sy]
    .map((v) => v.toPrecision(17)).join(' ');
  const inner = rootTag.replace(/\s(width|height)\s*=\s*["'][^"']*["']/g, '')
    .replace(/^<svg/, `<svg width="${width}" height="${height}"`);
  return `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="${side}" ` +
    `height="${side}" viewBox="${viewBox}" preserveAspectRatio="none">${inner}${text.slice(end + 1)}</svg>`;
}

function numbers(values, count) {
  if (values.length !== count) fail('wrong number of arguments (see the top of this file)');
  return values.map((value) => {
    const number = Number(value);
    if (!Number.isInteger(number)) fail(`not an integer: ${value}`);
    return number;
  });
}

const args = process.argv.slice(2);
if (args[0] === '--wrapper') {
  const [size, tile, row, column, border] = numbers(args.slice(2), 5);
  process.stdout.write(windowSvg(readFileSync(args[1], 'utf8'), size, tile, row, column, border));
} else {
  const [input, output, ...rest] = args;
  if (!input || !output) fail('usage: node resvg_render.mjs IN.svg OUT.png SIZE [TILE ROW COLUMN BORDER]');
  const text = readFileSync(input, 'utf8');
  const { Resvg } = require('@resvg/resvg-js');
  let svg = text, side;
  if (rest.length === 1) {
    [side] = numbers(rest, 1);
    const start = text.search(/<svg[\s>]/);
    const [width, height] = extent(text.slice(start, text.indexOf('>', start) + 1));
    // Stretch to a square as graphel does: a window covering the whole drawing.
    if (width !== height) svg = windowSvg(text, side, side, 0, 0, 0);
  } else {
    const [size, tile, row, column, border] = numbers(rest, 5);
    side = tile + 2 * border;
    svg = windowSvg(text, size, tile, row, column, border);
  }
  const rendered = new Resvg(svg, { fitTo: { mode: 'width', value: side }, font: { loadSystemFonts: false } });
  writeFileSync(output, rendered.render().asPng());
}
