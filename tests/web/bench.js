// The browser release's figures for `make bench`, in headless Chromium
// from a local server: the time to the title, and the CPU the whole browser
// takes over 10 s on the title and in play with a key held; the same CPU
// for the library's floors (the baseline program, built the same way): an
// empty frame 60 times a second, and one 800x600 picture laid every frame
// (the least a frame in play lays) or every tenth tick (as often as the
// title's picture changes). One line of JSON per run.
// usage: node bench.js SITE_DIR BASELINE_SITE_DIR WEB_SCREEN
'use strict';
const {execFileSync} = require('child_process');
const web = require('./browser');

const [site, baselineSite, webScreen] = process.argv.slice(2);
const offsets = JSON.parse(execFileSync(webScreen, ['offsets']));
const seconds = 10;

async function cpuOver(browser, during) {
  const start = web.browserCpu(browser);
  const started = Date.now();
  await during;
  return 100 * (web.browserCpu(browser) - start) / ((Date.now() - started) / 1000);
}

async function open(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 600});
  await web.watchFirstDraw(page);
  await page.goto(url);
  return page;
}

(async () => {
  const [url, baselineUrl] = [await web.serve(site), await web.serve(baselineSite)];
  const figures = {};
  let browser = await web.launch();
  const page = await open(browser, url);
  await page.waitForFunction(() => window.firstDraw !== undefined, {timeout: 30000});
  figures.title_ms = await page.evaluate(() => window.firstDraw);
  await web.sleep(2000);
  const game = await web.findGame(page, offsets);
  figures.cpu_title = await cpuOver(browser, web.sleep(seconds * 1000));
  // Play: Space, then the right arrow held; a game lost meanwhile is
  // started again at once, and said so.
  await page.keyboard.down('Space');
  await web.sleep(300);
  await page.keyboard.up('Space');
  await web.sleep(800);
  await page.keyboard.down('ArrowRight');
  await web.sleep(1000);
  let onTitle = 0;
  figures.cpu_play = await cpuOver(browser, (async () => {
    for (const end = Date.now() + seconds * 1000; Date.now() < end; await web.sleep(250)) {
      if (!(await web.gameState(page, game, offsets)).inGame) {
        onTitle++;
        await page.keyboard.press('Space');
      }
    }
  })());
  figures.all_in_play = onTitle === 0;
  await browser.close();

  const floors = {cpu_baseline: '', cpu_floor_play: '?picture', cpu_floor_title: '?picture,every=10'};
  for (const [key, query] of Object.entries(floors)) {
    browser = await web.launch();
    await open(browser, baselineUrl + query);
    await web.sleep(5000); // started: no first draw to wait for when it only clears
    figures[key] = +(await cpuOver(browser, web.sleep(seconds * 1000))).toFixed(1);
    await browser.close();
  }
  for (const k of ['cpu_title', 'cpu_play']) figures[k] = +figures[k].toFixed(1);
  figures.title_ms = Math.round(figures.title_ms);
  console.log(JSON.stringify(figures));
  process.exit(0);
})();
