// The browser release played in headless Chromium, from a local server, as
// a player meets it: the title as render() paints it, sound after the first
// key, a game on Space whose clock runs and whose mouse steers, P holding
// the frame and the sound still, a touch steering, the frame's shape at
// other window sizes, fullscreen and back, the page after the game quits,
// and no console error.
// usage: node page_checks.js SITE_DIR WEB_SCREEN ASSET_DIR SCRATCH_DIR
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const path = require('path');
const web = require('./browser');

const [site, webScreen, assets, scratch] = process.argv.slice(2);
const offsets = JSON.parse(execFileSync(webScreen, ['offsets']));
let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
  failures += !ok;
};

// Waits up to 20 s for the page's screenshot to be the title as render()
// paints it at the page's pixel size, the word on sound aside.
async function titleShown(page, name) {
  const shot = path.join(scratch, `${name}.png`);
  let said = '';
  for (const end = Date.now() + 20000; Date.now() < end; await web.sleep(250)) {
    await page.$eval('#note', n => n.style.visibility = 'hidden');
    await page.screenshot({path: shot});
    await page.$eval('#note', n => n.style.visibility = '');
    try {
      said = execFileSync(webScreen, ['title', assets, shot]).toString().trim();
      return said;
    } catch (e) {
      said = e.stdout.toString().trim() || e.message;
    }
  }
  throw new Error(`${name}: no title within 20 s; at last ${said}`);
}

// Non-silent buffers SDL's audio node is given from now on.
const countSound = page => page.evaluate(() => {
  const node = Module.SDL2.audio.scriptProcessorNode, feed = node.onaudioprocess;
  window.sound = {buffers: 0, loud: 0};
  node.onaudioprocess = e => {
    feed(e);
    const samples = e.outputBuffer.getChannelData(0);
    window.sound.buffers++;
    window.sound.loud += samples.some(s => Math.abs(s) > 1e-4);
  };
});
const sound = page => page.evaluate(() => window.sound);

async function openPage(browser, url, viewport, errors) {
  const page = await browser.newPage();
  page.on('console', m => m.type() === 'error' && errors.push(m.text()));
  page.on('pageerror', e => errors.push(e.message));
  await page.setViewport(viewport);
  await page.goto(url);
  return page;
}

(async () => {
  fs.mkdirSync(scratch, {recursive: true});
  const url = await web.serve(site);
  const browser = await web.launch();
  const errors = [];
  try {
    const page = await openPage(browser, url, {width: 800, height: 600}, errors);
    check(await web.waitQuietly(page, "typeof Module == 'object' && !!Module.SDL2 && " +
                                "Module.SDL2.audioContext.state == 'suspended' && " +
                                "!document.querySelector('#note').hidden", 20),
          'before a key, sound waits, and the page says how to turn it on');
    console.log(await titleShown(page, 'title'));
    const address = await web.findGame(page, offsets);
    check(await page.title() === 'Clock Maze', 'the page is titled Clock Maze');
    check(await page.$eval('link[rel=icon]', l => l.href.endsWith('icon.png')), 'its icon');
    await countSound(page);
    await page.keyboard.press('Shift');
    await web.sleep(3000);
    const heard = await sound(page);
    check(heard.loud > 0 && await page.$eval('#note', n => n.hidden),
          `after a key: ${heard.loud} of ${heard.buffers} buffers carry sound, the note is gone`);

    await page.keyboard.down('Space');
    await web.sleep(300);
    await page.keyboard.up('Space');
    await web.sleep(1200); // past the opening zoom
    const started = await web.gameState(page, address, offsets);
    await web.sleep(500);
    const later = await web.gameState(page, address, offsets);
    check(started.inGame && later.timeLeft < started.timeLeft,
          `Space starts a game whose clock runs (${started.timeLeft} then ${later.timeLeft})`);
    await page.keyboard.down('ArrowRight');
    await web.sleep(400);
    const steered = await web.gameState(page, address, offsets);
    await page.keyboard.up('ArrowRight');
    check(steered.keyRight && steered.angle !== later.angle,
          `the right arrow steers the mouse (from ${later.angle} to ${steered.angle} degrees)`);

    await page.keyboard.press('p');
    await web.sleep(300);
    await countSound(page);
    const still = await page.screenshot();
    await web.sleep(1000);
    const paused = await web.gameState(page, address, offsets);
    const quiet = await sound(page);
    check(paused.paused && still.equals(await page.screenshot()) && quiet.buffers > 0 &&
          quiet.loud === 0,
          `P holds the frame still and silences it (${quiet.loud} of ${quiet.buffers} buffers sound)`);
    await page.close();

    // A phone held upright, its touch screen at twice the pixels: the frame
    // is sharp at the canvas' own size, and a finger on the right half
    // steers clockwise.
    const phone = await openPage(browser, url,
                                 {width: 600, height: 800, deviceScaleFactor: 2, hasTouch: true},
                                 errors);
    console.log(await titleShown(phone, 'title-600x800'));
    const phoneAddress = await web.findGame(phone, offsets);
    await phone.touchscreen.tap(300, 400);
    await web.sleep(1500);
    const before = await web.gameState(phone, phoneAddress, offsets);
    await phone.touchscreen.touchStart(500, 400);
    await web.sleep(400);
    const touched = await web.gameState(phone, phoneAddress, offsets);
    await phone.touchscreen.touchEnd();
    check(before.inGame && touched.keyRight && touched.angle !== before.angle,
          `a tap starts a game, a touch on the right half steers (${before.angle} to ${touched.angle} degrees)`);
    await phone.close();

    // Without WebGL the game cannot start: the page says what stopped it.
    const bare = await browser.newPage();
    await bare.evaluateOnNewDocument(() => {
      const get = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (type, options) {
        return /webgl/.test(type) ? null : get.call(this, type, options);
      };
    });
    await bare.goto(url);
    await bare.waitForSelector('#end:not([hidden])', {timeout: 20000});
    const said = await bare.$eval('#end', e => e.textContent);
    check(/could not start:\n./.test(said), `without WebGL the page says: ${said.replace(/\n/g, ' ')}`);
    await bare.close();

    const wide = await openPage(browser, url, {width: 1280, height: 720}, errors);
    console.log(await titleShown(wide, 'title-1280x720'));
    const fullscreen = () => wide.evaluate(() => document.fullscreenElement !== null);
    await wide.keyboard.press('F11');
    await web.sleep(500);
    const into = await fullscreen();
    await wide.keyboard.down('Alt');
    await wide.keyboard.press('Enter');
    await wide.keyboard.up('Alt');
    await web.sleep(500);
    check(into && !(await fullscreen()), 'F11 takes the page fullscreen, Alt+Enter brings it back');
    console.log(await titleShown(wide, 'title-after-fullscreen'));
    await wide.keyboard.press('Escape');
    await wide.waitForSelector('#end:not([hidden])', {timeout: 10000});
    check(/has closed/.test(await wide.$eval('#end', e => e.textContent)),
          'Esc on the title closes the game, and the page says so with a way to play again');
    await wide.close();
  } catch (e) {
    check(false, e.message);
  }
  check(errors.length === 0, `no error on the console${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await browser.close();
  console.log(failures ? `FAIL: ${failures} checks failed` : 'PASS: every browser check holds');
  process.exit(failures ? 1 : 0);
})();
