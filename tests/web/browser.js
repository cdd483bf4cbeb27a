// What the browser checks and the benchmark share: a static server on
// 127.0.0.1, Debian's Chromium driven by puppeteer-core, the game's state
// read from the program's memory, and the CPU the whole browser takes.
'use strict';
const puppeteer = require('puppeteer-core');
const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.png': 'image/png', '.txt': 'text/plain'};

// Serves DIR as any static web host would; resolves to its URL.
function serve(dir) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(dir, name.endsWith('/') ? name + 'index.html' : name);
    fs.readFile(file, (err, body) => {
      res.writeHead(err ? 404 : 200,
                    {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      res.end(err ? '' : body);
    });
  });
  return new Promise(ok => server.listen(0, '127.0.0.1', () => {
    server.unref();
    ok(`http://127.0.0.1:${server.address().port}/`);
  }));
}

// Headless, drawing with SwiftShader as a machine without a GPU does, and
// with no sandbox, as CI runs as root.
function launch() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
           '--disable-dev-shm-usage', '--no-first-run']
  });
}

const sleep = ms => new Promise(ok => setTimeout(ok, ms));

// Waits up to SECONDS for EXPRESSION to hold in the page, asking as the page
// itself would: puppeteer's own evaluations count as a user's gesture, which
// lets sound start without one.
async function waitQuietly(page, expression, seconds) {
  const session = await page.createCDPSession();
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(100)) {
    const {result} = await session.send('Runtime.evaluate', {expression, returnByValue: true});
    if (result.value === true) return true;
  }
  return false;
}

// CPU seconds of the browser's processes, all of them: the browser, the
// page's renderer and the GPU process drawing the page.
function browserCpu(browser) {
  const ticks = 100; // USER_HZ on Linux
  const children = new Map();
  for (const pid of fs.readdirSync('/proc').filter(p => /^\d+$/.test(p))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      children.set(Number(pid), {parent: Number(fields[1]),
                                 cpu: (Number(fields[11]) + Number(fields[12])) / ticks});
    } catch (e) { /* gone meanwhile */ }
  }
  const tree = new Set([browser.process().pid]);
  let total = 0, grew = true;
  while (grew) {
    grew = false;
    for (const [pid, p] of children) {
      if (!tree.has(pid) && tree.has(p.parent)) {
        tree.add(pid);
        grew = true;
      }
    }
  }
  for (const pid of tree) total += children.has(pid) ? children.get(pid).cpu : 0;
  return total;
}

// Where the game's record lies in the program's memory: the one place that
// holds a running game's record as start-up leaves it (the mouse's speed and
// size as the rules set them, every flag 0 or 1). Offsets come from
// web_screen, which reads them from the game's own header.
async function findGame(page, o) {
  const at = await page.evaluate(o => {
    const heap = Module.HEAPU8, view = new DataView(heap.buffer), found = [];
    const speed = new Float32Array([2.65])[0];
    for (let at = 1024; at + o.size < heap.length && found.length < 2; at += 4) {
      if (heap[at + o.running] === 1 && view.getInt32(at + o.halfWidth, true) === 4 &&
          view.getFloat32(at + o.speed, true) === speed &&
          o.flags.every(f => heap[at + f] <= 1)) found.push(at);
    }
    return found.length === 1 ? found[0] : -found.length;
  }, o);
  if (at < 0) throw new Error(`the game's record is found ${-at} times in memory`);
  return at;
}

// The fields the checks look at, read at `at`.
function gameState(page, at, o) {
  return page.evaluate((at, o) => {
    const heap = Module.HEAPU8, view = new DataView(heap.buffer);
    return {inGame: heap[at + o.inGame], paused: heap[at + o.paused],
            keyLeft: heap[at + o.keyLeft], keyRight: heap[at + o.keyRight],
            timeLeft: view.getInt32(at + o.timeLeft, true),
            angle: view.getFloat32(at + o.angle, true)};
  }, at, o);
}

// Resolves, in milliseconds from the navigation's start, when the page first
// draws with WebGL: the first frame the game flips, which is its title.
function watchFirstDraw(page) {
  return page.evaluateOnNewDocument(() => {
    for (const proto of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
      for (const name of ['drawArrays', 'drawElements']) {
        const draw = proto[name];
        proto[name] = function () {
          if (window.firstDraw === undefined) window.firstDraw = performance.now();
          return draw.apply(this, arguments);
        };
      }
    }
  });
}

module.exports = {serve, launch, sleep, waitQuietly, browserCpu, findGame, gameState, watchFirstDraw};
