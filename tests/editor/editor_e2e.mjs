// End-to-end test of `graphel editor` in Debian's Chromium, driven by playwright-core.
// Usage: node editor_e2e.mjs GRAPHEL_BINARY
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [graphel] = process.argv.slice(2);
assert.ok(graphel, 'usage: node editor_e2e.mjs GRAPHEL_BINARY');
const browserPath = process.env.GRAPHEL_CHROMIUM || '/usr/bin/chromium';

// A PDF of two A4 pages, each saying its number.
function twoPagePdf() {
  const objects = ['<< /Type /Catalog /Pages 2 0 R >>', '<< /Type /Pages /Kids [4 0 R 6 0 R] /Count 2 >>',
    '<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>'];
  for (const number of [1, 2]) {
    const content = `BT /F1 96 Tf 200 400 Td (${number}) Tj ET`;
    objects.push(`<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> ` +
      `/Contents ${objects.length + 2} 0 R >>`);
    objects.push(`<< /Length ${content.length} >>\nstream\n${content}\nendstream`);
  }
  let file = '%PDF-1.4\n';
  const offsets = objects.map((object, i) => {
    const offset = file.length;
    file += `${i + 1} 0 obj\n${object}\nendobj\n`;
    return offset;
  });
  const xref = file.length;
  file += `xref\n0 ${objects.length + 1}\n0000000000 65535 f \n`;
  for (const offset of offsets) file += `${String(offset).padStart(10, '0')} 00000 n \n`;
  file += `trailer\n<< /Size ${objects.length + 1} /Root 1 0 R >>\nstartxref\n${xref}\n%%EOF\n`;
  return file;
}

function startEditor(folder) {
  const child = spawn(graphel, ['editor', path.join(folder, 'good.svg'), '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = new Promise((resolve, reject) => {
    let output = '';
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const match = output.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (match) resolve(match[0]);
    });
    child.on('exit', (code) => reject(new Error(`graphel editor exited with ${code} before serving: ${output}`)));
  });
  return { child, address };
}

async function main() {
  const folder = mkdtempSync(path.join(tmpdir(), 'graphel-editor-'));
  writeFileSync(path.join(folder, 'good.svg'),
    '<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100"><rect width="200" height="100" fill="#c03"/></svg>');
  writeFileSync(path.join(folder, 'broken.svg'), '<svg xmlns="http://www.w3.org/2000/svg"><rect');
  writeFileSync(path.join(folder, 'notes.txt'), 'not a drawing');
  writeFileSync(path.join(folder, 'pages.pdf'), twoPagePdf());
  writeFileSync(path.join(folder, 'three.pat'),
    '*LINES,Horizontal\n0, 0,0, 0,.25\n*GRID,Grid\n0, 0,0, 0,.25\n90, 0,0, 0,.25\n*DIAGONAL,Diagonal\n45, 0,0, 0,.2\n');

  const editor = startEditor(folder);
  const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
  try {
    const url = await editor.address;
    const page = await browser.newPage();
    const state = async () => (await (await page.request.get(url + 'api/state')).json());
    const openFile = async (name) => {
      await page.click('#c1001');
      await page.fill('#file-path', path.join(folder, name));
      await page.click('#file-open');
    };
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('c1001').textContent.includes('good.svg'));

    // An SVG greys out the pattern and PDF panels; the preview arrives as a picture.
    assert.ok(await page.isDisabled('#c1101'), 'pattern list enabled for an SVG');
    assert.ok(await page.isDisabled('#c1204'), '"Continous" enabled for an SVG');
    assert.ok(await page.isEnabled('#c1008'));
    await page.waitForFunction(() => document.getElementById('preview').naturalWidth === 256);

    // The chooser refuses what the texture can't read, and anything outside the opened folder.
    await openFile('notes.txt');
    await page.waitForSelector('#notice:has-text("This was not a (supported) vectorfile")');
    await page.click('#c1001');
    await page.fill('#file-path', '/etc/passwd');
    await page.click('#file-open');
    await page.waitForSelector('#notice:has-text("not inside a folder opened in the editor")');

    // A hatch-pattern file enables its panel and lists its patterns; picking one sticks.
    await openFile('three.pat');
    await page.waitForFunction(() => !document.getElementById('c1101').disabled &&
      document.getElementById('c1101').options.length === 3);
    await page.selectOption('#c1101', '2');
    await page.waitForFunction(async (u) => (await (await fetch(u + 'api/state')).json()).params.patternname === 2, url);
    assert.ok(await page.isDisabled('#c1204'));

    // A PDF: page size, the transition group behind "Continous", direction 3 turning into 2 in Scroll.
    await openFile('pages.pdf');
    await page.waitForSelector('#c1201:has-text("595.0 x 842.0")');
    assert.ok(await page.isDisabled('#c1101'), 'pattern list enabled for a PDF');
    assert.ok(await page.isDisabled('#c1210'), 'mode list enabled without "Continous"');
    await page.check('#c1204');
    await page.waitForFunction(() => !document.getElementById('c1210').disabled);
    await page.selectOption('#c1210', '2');  // Move In: any direction
    await page.waitForFunction(() => !document.getElementById('c1211').classList.contains('disabled'));
    const ring = await page.locator('#c1211').boundingBox();
    await page.mouse.move(ring.x + 55, ring.y + 55);  // the down-right sector
    await page.mouse.down();
    await page.mouse.up();
    await page.waitForSelector('#c1211[data-direction="3"]');
    assert.equal((await state()).params.transitiondir, 3);
    await page.selectOption('#c1210', '1');  // Scroll
    await page.waitForSelector('#c1211[data-direction="2"]');
    assert.equal((await state()).params.transitiondir, 2);
    // The preview runs in 100 ms steps while "Preview" is on.
    await page.check('#c1212');
    await page.waitForFunction(() => Number(document.getElementById('c1213').dataset.phase) >= 0.5);

    // The same error twice makes one list entry; "Clear List" empties it. "Advanced Parameters"
    // starts closed.
    await page.click('#panel-503 .rollup-title');
    await openFile('broken.svg');
    await page.waitForFunction(() => document.querySelectorAll('#c1301 li').length === 1);
    await page.click('#c1002');  // Reload: the texture reports the error again
    await page.waitForFunction(() => !document.getElementById('preview').classList.contains('stale'));
    await page.waitForTimeout(1200);  // one more poll of the state
    assert.equal(await page.locator('#c1301 li').count(), 1);
    await page.click('#c1302');
    await page.waitForFunction(() => document.querySelectorAll('#c1301 li').length === 0);

    // The crop editor: dragging the frame's corner writes crop_w and crop_h back.
    await openFile('good.svg');
    await page.waitForFunction(() => document.getElementById('c1001').textContent.includes('good.svg'));
    await page.check('#c1014');
    await page.click('#c1015');
    await page.waitForFunction(() => document.getElementById('crop-image').naturalWidth === 1024 &&
      !document.getElementById('crop-frame').hidden && document.getElementById('crop-frame').clientWidth > 100);
    const image = await page.locator('#crop-image').boundingBox();
    const handle = await page.locator('#crop-handle').boundingBox();
    await page.mouse.move(handle.x + handle.width / 2, handle.y + handle.height / 2);
    await page.mouse.down();
    await page.mouse.move(handle.x - image.width / 2, handle.y - image.height / 4, { steps: 5 });
    await page.mouse.up();
    await page.waitForFunction(async (u) => (await (await fetch(u + 'api/state')).json()).params.crop_w < 0.9, url);
    const cropped = (await state()).params;
    assert.ok(cropped.crop_w > 0.4 && cropped.crop_w < 0.6, `crop_w ${cropped.crop_w}`);
    assert.ok(cropped.crop_h > 0.6 && cropped.crop_h < 0.85, `crop_h ${cropped.crop_h}`);
    console.log('editor end-to-end: every step passed');
  } finally {
    await browser.close();
    editor.child.kill('SIGTERM');
    rmSync(folder, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
