// qvhost serve in a real browser: Debian's Chromium driven by Playwright, with the mouse and
// keyboard a person uses. A browser that cannot start fails the test with its reason.
//
// Environment: QV_QVHOST (the qvhost executable), QV_SAMPLES_DIR (the sample PPDs).
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { createInterface } from "node:readline";
import { chromium } from "playwright-core";

const qvhost = process.env.QV_QVHOST;
const samples = process.env.QV_SAMPLES_DIR;
const work = mkdtempSync(join(tmpdir(), "qvserve-"));
const root = join(work, "root");
const printer = "QV Office";

// Where the sheet's parts lie in its picture (the sheet alone: the picture is the sheet's
// screenshot), at 96 dpi.
const OutputTab = { x: 80, y: 44 };
const AboutTab = { x: 133, y: 44 };
const OkButton = { x: 277, y: 489 };
const HeldJobsItem = { x: 100, y: 119 };  // "加密打印" in the output list
const PinEdit = { x: 316, y: 163 };
const UserNameEdit = { x: 398, y: 116 };
const PinId = 1086;
const UserNameId = 1085;

function run(...args) {
  return execFileSync(qvhost, ["--root", root, ...args], { encoding: "utf8" });
}

// A running serve: its URL, its exit and what it wrote on stderr.
function serve(...extra) {
  const child = spawn(qvhost, ["--root", root, "serve", printer, ...extra],
                      { stdio: ["ignore", "pipe", "pipe"] });
  let stderr = "";
  child.stderr.on("data", (chunk) => { stderr += chunk; });
  const exited = new Promise((resolve) => {
    child.on("exit", (code, signal) => resolve({ code, signal, stderr }));
  });
  const url = new Promise((resolve, reject) => {
    createInterface({ input: child.stdout }).once("line", resolve);
    child.on("exit", () => reject(new Error("qvhost serve ended before it was ready: " + stderr)));
  });
  return { child, url, exited };
}

let browser;

before(async () => {
  assert.ok(qvhost && samples, "QV_QVHOST and QV_SAMPLES_DIR must be set");
  run("init", "--computer", "QV-OFFICE", "--language", "2052");
  run("driver", "add", "Quorvel QV9000Z PS", "--ppd", join(samples, "ppd", "QV9000Z.PPD"));
  run("printer", "add", printer, "--driver", "Quorvel QV9000Z PS", "--port", "C:\\spool\\office.prn");
  try {
    browser = await chromium.launchPersistentContext(join(work, "profile"), {
      executablePath: "/usr/bin/chromium",
      headless: true,
      viewport: { width: 800, height: 700 },
      deviceScaleFactor: 1,
      args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
  } catch (error) {
    throw new Error("Chromium (/usr/bin/chromium) did not start: " + error.message);
  }
});

after(async () => {
  await browser?.close();
  rmSync(work, { recursive: true, force: true });
});

async function openPage(url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => Number(document.getElementById("frame").dataset.version) > 0);
  return page;
}

// Clicks a pixel of the sheet's picture and waits until the picture after it is shown.
async function clickAt(page, point) {
  const done = page.waitForResponse((r) => r.url().includes("/input"));
  await page.locator("#frame").click({ position: point });
  const version = (await (await done).json()).version;
  await page.waitForFunction((v) => Number(document.getElementById("frame").dataset.version) >= v,
                             version);
}

async function state(url) {
  const base = new URL(url);
  const answer = await fetch(new URL("/state" + base.search, base));
  assert.equal(answer.status, 200);
  return answer.json();
}

// The share of pixels in the rectangle that differ between two PNGs, decoded by the browser.
async function differingShare(page, pngA, pngB, rect) {
  return page.evaluate(async ({ a, b, rect }) => {
    const pixels = async (base64) => {
      const bitmap = await createImageBitmap(
          await (await fetch("data:image/png;base64," + base64)).blob());
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext("2d");
      context.drawImage(bitmap, 0, 0);
      return context.getImageData(rect.x, rect.y, rect.width, rect.height).data;
    };
    const [first, second] = [await pixels(a), await pixels(b)];
    let differing = 0;
    for (let i = 0; i < first.length; i += 4) {
      if (first[i] !== second[i] || first[i + 1] !== second[i + 1] || first[i + 2] !== second[i + 2]) {
        ++differing;
      }
    }
    return differing / (first.length / 4);
  }, { a: pngA.toString("base64"), b: pngB.toString("base64"), rect });
}

test("a request without the run's token is refused", async () => {
  const { child, url, exited } = serve();
  const withToken = new URL(await url);
  const origin = withToken.origin;
  for (const path of ["/", "/frame.png", "/state", "/events?since=0", "/?token=wrong",
                      "/frame.png?token=" + withToken.searchParams.get("token").slice(1)]) {
    const answer = await fetch(origin + path);
    assert.equal(answer.status, 403, path);
  }
  const posted = await fetch(origin + "/input", { method: "POST", body: '{"type":"key","key":"Escape"}' });
  assert.equal(posted.status, 403);
  assert.equal((await state(withToken.href)).ended, "open", "the refused Escape reached the sheet");
  child.kill("SIGTERM");
  const end = await exited;
  assert.equal(end.code, 0);
  assert.match(end.stderr, /^ended: cancel$/m);
});

test("the About tab clicked in the browser shows what qvhost sheet draws", async () => {
  const shots = join(work, "shots");
  // The first page as it opens, and the About page.
  execFileSync(qvhost, ["--root", root, "sheet", printer, "--script", "-", "--screenshots", shots,
                        "--result", join(work, "sheet.json")], { input: "page 关于\n" });
  const reference = readFileSync(join(shots, "page-3-关于.png"));

  const { child, url, exited } = serve();
  const page = await openPage(await url);
  await clickAt(page, AboutTab);
  const shown = await page.locator("#frame").screenshot();
  const box = await page.locator("#frame").boundingBox();
  // The page below the tab strip, where the About page draws.
  const pageArea = { x: 12, y: 60, width: Math.round(box.width) - 24, height: Math.round(box.height) - 120 };
  const share = await differingShare(page, shown, reference, pageArea);
  assert.ok(share < 0.002, `the About page differs from qvhost sheet's in ${(share * 100).toFixed(2)}% of its pixels`);
  const before = await differingShare(page, shown, readFileSync(join(shots, "page-1-高级.png")), pageArea);
  assert.ok(before > 0.01, "the comparison cannot tell the pages apart");
  child.kill("SIGINT");
  assert.equal((await exited).code, 0);
});

test("typing, Chinese included, reaches the focused edit and OK saves it", async () => {
  const result = join(work, "serve.json");
  const { url, exited } = serve("--result", result);
  const address = await url;
  const page = await openPage(address);
  await clickAt(page, OutputTab);
  await clickAt(page, HeldJobsItem);
  await clickAt(page, UserNameEdit);
  await page.keyboard.press("Control+A");
  for (let i = 0; i < 8; ++i) await page.keyboard.press("Backspace");
  await page.keyboard.insertText("王明");
  await page.keyboard.press("Tab");
  await page.keyboard.type("12x34");
  await page.keyboard.press("Backspace");
  await page.keyboard.type("4");
  await page.waitForResponse((r) => r.url().includes("/input"));
  const typed = await state(address);
  assert.deepEqual(typed.focus, { id: PinId, text: "1234" });
  await clickAt(page, UserNameEdit);
  assert.deepEqual((await state(address)).focus, { id: UserNameId, text: "王明" });

  await page.locator("#frame").click({ position: OkButton });
  const end = await exited;
  assert.equal(end.code, 0, end.stderr);
  assert.match(end.stderr, /^ended: ok$/m);
  const written = JSON.parse(readFileSync(result, "utf8"));
  assert.equal(written.ended, "ok");
  assert.equal(written.saved, true);
  const stored = JSON.parse(run("settings", printer, "--document"));
  assert.equal(stored.plugin.HoldPin, "1234");
  assert.equal(stored.plugin.HoldUserName, "王明");
  assert.equal(stored.plugin.OutputDestination, written.plugin.OutputDestination);
  assert.notEqual(stored.plugin.OutputDestination, 0);
  await page.waitForFunction(() => document.getElementById("status").textContent !== "");
});
