// Opens an exported web page in Debian's Chromium, headless, through
// playwright-core, and checks what a reader would see: the pictures, that
// nothing comes from another computer, the layout at three widths, the
// timeline, the links within the page and the page printed to PDF. Keeps screenshots and the PDF in <output folder>.
//   node check_web_page.mjs <page.html> <tools folder> <output folder>
// The tools folder holds node_modules/playwright-core (scripts/install-toolchain).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const [pagePath, toolsFolder, outputFolder] = process.argv.slice(2);
if (!outputFolder) {
    console.error('usage: node check_web_page.mjs <page.html> <tools folder> <output folder>');
    process.exit(2);
}
const { chromium } = createRequire(path.join(path.resolve(toolsFolder), 'package.json'))('playwright-core');

const failures = [];
function check(holds, what) {
    console.log(`${holds ? 'ok' : 'FAILED'}: ${what}`);
    if (!holds) failures.push(what);
}

// A sheet of A4 with the margins of a browser's print dialog, in CSS pixels.
const Millimetre = 96 / 25.4;
const SheetMargin = 15;
const SheetWidth = Math.floor((210 - 2 * SheetMargin) * Millimetre);
const SheetHeight = Math.floor((297 - 2 * SheetMargin) * Millimetre);
// What a sheet may leave empty besides an unbreakable block that did not
// fit: a heading kept with what follows it, a few lines kept together.
const BreakSlack = 100;

// The machine has no network: nothing may try one, nor fetch a browser.
const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'memorion-chromium-'));
const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 1280, height: 900 },
});
try {
    const page = context.pages()[0] ?? await context.newPage();
    const requested = [];
    page.on('request', request => requested.push(request.url()));
    await page.goto(pathToFileURL(path.resolve(pagePath)).href, { waitUntil: 'load' });
    fs.mkdirSync(outputFolder, { recursive: true });

    await checkPictures(page);
    await checkNothingFromAnotherComputer(page, requested);
    await checkWidths(page);
    await checkTimeline(page);
    await checkLinksWithinThePage(page);
    await checkPrint(page);
} finally {
    await context.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
}
if (failures.length > 0) {
    console.error(`${failures.length} check(s) of the web page failed`);
    process.exit(1);
}

function fileExists(url) {
    try {
        return fs.statSync(fileURLToPath(url)).isFile();
    } catch {
        return false; // not a file here: another computer, another drive
    }
}

// Every picture whose file exists is drawn; a missing one shows its
// caption and the note that the page's img::after gives a broken picture,
// and only a broken one: a loaded picture has no box for it.
async function checkPictures(page) {
    const images = page.locator('figure img');
    const count = await images.count();
    for (let i = 0; i < count; ++i) {
        await images.nth(i).scrollIntoViewIfNeeded(); // they load lazily
        await images.nth(i).evaluate(img => img.complete || new Promise(done => {
            img.addEventListener('load', done);
            img.addEventListener('error', done);
        }));
    }
    const shown = await images.evaluateAll(list => list.map(img => ({
        src: img.getAttribute('src'),
        url: img.src,
        naturalWidth: img.naturalWidth,
        note: getComputedStyle(img, '::after').content,
        caption: img.nextElementSibling.getBoundingClientRect().height,
    })));
    const noteBoxes = await afterBoxes(page);
    let loaded = 0, missing = 0, sibling = 0;
    shown.forEach((image, i) => {
        const box = noteBoxes[i];
        if (fileExists(image.url)) {
            ++loaded;
            if (image.src.startsWith('../')) ++sibling;
            check(image.naturalWidth > 0 && box === null,
                  `${image.src} loaded (${image.naturalWidth} pixels wide), no note`);
        } else {
            ++missing;
            check(image.naturalWidth === 0 && box !== null && box.width > 0 && box.height > 0 &&
                  image.note === '"(picture not found)"' && image.caption > 0,
                  `${image.src} is missing and shows its caption and ${image.note} in a box of ` +
                  `${box ? `${box.width}x${box.height}` : 'none'}`);
        }
    });
    check(loaded >= 3 && missing >= 1 && sibling >= 1,
          `${loaded} pictures loaded (${sibling} from a sibling folder by a relative link), ${missing} missing`);
}

// The page fetches nothing but files of the computer it is opened on:
// every address it loads by itself (all it asked for, and every src) has
// no host, and a picture on another computer is a link that says so.
async function checkNothingFromAnotherComputer(page, requested) {
    const { sources, elsewhere } = await page.evaluate(() => ({
        sources: [...document.querySelectorAll('[src]')].map(element => element.src),
        elsewhere: [...document.querySelectorAll('figcaption')].filter(caption =>
            caption.querySelector('a[href^="file://"]') && caption.textContent.endsWith(' (picture on another computer)')).length,
    }));
    const host = url => {
        try {
            return new URL(url).host;
        } catch {
            return 'none that can be read';
        }
    };
    const remote = [...requested, ...sources].filter(url => !url.startsWith('file:') || host(url) !== '');
    check(remote.length === 0, `nothing loaded from another computer (${remote.join(' ') || 'none'})`);
    check(elsewhere >= 2, `${elsewhere} pictures on another computer shown as links that say so`);
}

// The box Chromium lays out for each figure picture's ::after, or null.
async function afterBoxes(page) {
    const cdp = await page.context().newCDPSession(page);
    const { root } = await cdp.send('DOM.getDocument', { depth: -1 });
    const images = [];
    (function walk(node, inFigure) {
        if (node.nodeName === 'IMG' && inFigure) images.push(node);
        for (const child of node.children ?? []) walk(child, inFigure || node.nodeName === 'FIGURE');
    })(root, false);
    const boxes = [];
    for (const image of images) {
        const after = (image.pseudoElements ?? []).find(pseudo => pseudo.pseudoType === 'after');
        let box = null;
        if (after) {
            try {
                const { model } = await cdp.send('DOM.getBoxModel', { nodeId: after.nodeId });
                box = { width: model.width, height: model.height };
            } catch {
                // no box: nothing drawn
            }
        }
        boxes.push(box);
    }
    await cdp.detach();
    return boxes;
}

async function checkWidths(page) {
    for (const width of [1280, 800, 360]) {
        await page.setViewportSize({ width, height: 900 });
        const { scrollWidth, clientWidth } = await page.evaluate(() => ({
            scrollWidth: document.documentElement.scrollWidth,
            clientWidth: document.documentElement.clientWidth,
        }));
        check(scrollWidth <= clientWidth, `no horizontal scrolling ${width} pixels wide (${scrollWidth} in ${clientWidth})`);
        await page.evaluate(() => window.scrollTo(0, 0));
        if (width === 360) await page.screenshot({ path: path.join(outputFolder, 'web-page-phone.png') });
    }
    await page.setViewportSize({ width: 1280, height: 900 });
    await page.screenshot({ path: path.join(outputFolder, 'web-page.png') });
}

// One mark per line of the chronology, to the same entries, each drawn
// inside the picture, clear of every other mark and the one a click at its
// middle reaches, on a wide screen and a phone's.
async function checkTimeline(page) {
    for (const width of [1280, 360]) {
        await page.setViewportSize({ width, height: 900 });
        const timeline = await page.evaluate(timelineMarks);
        check(timeline !== null && timeline.width > 0 && timeline.height > 0,
              `the timeline has a box ${width} pixels wide (${timeline ? `${timeline.width}x${timeline.height}` : 'none'})`);
        if (timeline === null) return;
        const { marks } = timeline;
        const sorted = list => [...list].sort().join(' ');
        check(timeline.lines.length > 0 && sorted(marks.map(m => m.href)) === sorted(timeline.lines),
              `one mark per dated entry (${marks.length} marks, ${timeline.lines.length} in the chronology)`);
        const outside = marks.filter(m => m.left < -1 || m.right > timeline.width + 1);
        check(outside.length === 0, `every mark is drawn inside the timeline ${outside.map(m => m.href).join(' ')}`);
        const overlapping = [];
        marks.forEach((a, i) => marks.slice(i + 1).forEach(b => {
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) overlapping.push(`${a.href}/${b.href}`);
        }));
        check(overlapping.length === 0, `no mark covers another ${width} pixels wide (${overlapping.length}) ${overlapping.slice(0, 8).join(' ')}`);
        const unreachable = marks.filter(m => !m.clickable).map(m => m.href);
        check(unreachable.length === 0, `a click in the middle of each mark reaches it ${width} pixels wide ${unreachable.join(' ')}`);
    }
    await page.setViewportSize({ width: 1280, height: 900 });
}

// Each mark's painted box, relative to the picture: a bar's box is its
// line, which its stroke makes thicker and its round ends longer.
function timelineMarks() {
    const svg = document.querySelector('svg.timeline');
    if (!svg) return null;
    const marks = [...svg.querySelectorAll('a')].map(a => {
        a.scrollIntoView({ block: 'center' });
        const shape = a.querySelector('line, circle');
        const half = shape.localName === 'line' ? parseFloat(getComputedStyle(shape).strokeWidth) / 2 : 0;
        const r = shape.getBoundingClientRect();
        const box = svg.getBoundingClientRect();
        const hit = document.elementFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return { href: a.getAttribute('href'), clickable: hit?.closest('a') === a,
                 left: r.left - half - box.left, right: r.right + half - box.left,
                 top: r.top - half - box.top, bottom: r.bottom + half - box.top };
    });
    const box = svg.getBoundingClientRect();
    const lines = [...document.querySelectorAll('ol.chronology a')].map(a => a.getAttribute('href'));
    return { width: box.width, height: box.height, marks, lines };
}

async function checkLinksWithinThePage(page) {
    const { links, missing, repeated } = await page.evaluate(() => {
        const hrefs = [...document.querySelectorAll('a')].map(a => a.getAttribute('href')).filter(h => h.startsWith('#'));
        const counts = new Map();
        for (const element of document.querySelectorAll('[id]')) counts.set(element.id, (counts.get(element.id) ?? 0) + 1);
        return {
            links: hrefs.length,
            missing: hrefs.filter(h => !document.getElementById(decodeURIComponent(h.slice(1)))),
            repeated: [...counts].filter(([, n]) => n > 1).map(([id]) => id),
        };
    });
    check(links > 0 && missing.length === 0, `every one of ${links} links within the page has its target ${missing.join(' ')}`);
    check(repeated.length === 0, `no id given twice ${repeated.join(' ')}`);
}

// The page printed to A4: the first sheet holds the title, the contents and
// the start of the chronology, every category starts a sheet, and each
// part takes as many sheets as its height on paper implies.
async function checkPrint(page) {
    const pdf = path.join(outputFolder, 'web-page.pdf');
    const margin = `${SheetMargin}mm`;
    await page.pdf({ path: pdf, format: 'A4', margin: { top: margin, bottom: margin, left: margin, right: margin } });
    const sheets = execFileSync('pdftotext', [pdf, '-'], { encoding: 'utf8' }).split('\f');
    if (sheets.at(-1).trim() === '') sheets.pop();
    const firstLine = sheet => sheet.split('\n').map(line => line.trim()).find(line => line !== '') ?? '';

    await page.emulateMedia({ media: 'print' });
    await page.setViewportSize({ width: SheetWidth, height: SheetHeight });
    const layout = await page.evaluate(sheetHeight => {
        const normal = text => text.replace(/\s+/g, ' ').trim();
        const heightOf = elements => Math.max(0, ...[...elements].map(e => e.getBoundingClientRect().height));
        const categories = [...document.querySelectorAll('section.category')];
        const firstCategory = categories[0]?.getBoundingClientRect().top ?? document.body.scrollHeight;
        return {
            title: normal(document.querySelector('h1').innerText.split('\n')[0]),
            firstChronologyLine: normal(document.querySelector('ol.chronology li')?.innerText ?? ''),
            parts: [
                { name: 'title, contents and chronology', height: firstCategory + window.scrollY,
                  tallest: heightOf(document.querySelectorAll('nav li, svg.timeline, ol.chronology li')) },
                ...categories.map(section => ({
                    name: normal(section.querySelector('h2').textContent),
                    height: section.getBoundingClientRect().height,
                    tallest: heightOf(section.querySelectorAll('article, figure')),
                    // The sheet breaks that entries taller than a sheet may hold.
                    tallBreaks: [...section.querySelectorAll('article')].map(a => a.getBoundingClientRect().height)
                        .filter(height => height > sheetHeight).reduce((n, height) => n + Math.ceil(height / sheetHeight), 0),
                    titles: [...section.querySelectorAll('h3')].map(h => normal(h.innerText.split('\n')[0])),
                })),
            ],
            pictures: [...document.querySelectorAll('figure img')].filter(img => img.naturalWidth > 0).map(img => ({
                height: img.getBoundingClientRect().height,
                unbounded: img.naturalHeight * Math.min(1, img.parentElement.clientWidth / img.naturalWidth),
            })),
        };
    }, SheetHeight);
    await page.emulateMedia({ media: 'screen' });

    const first = sheets[0] ?? '';
    check(firstLine(first) === layout.title && first.includes('Contents') && first.includes('Chronology') &&
          first.includes(layout.firstChronologyLine),
          'the first sheet holds the title, the contents and the start of the chronology');

    const starts = [0];
    for (const part of layout.parts.slice(1)) {
        const at = sheets.findIndex((sheet, i) => i > starts.at(-1) && firstLine(sheet) === part.name);
        check(at > 0, `category "${part.name}" starts a sheet (${at + 1})`);
        if (at <= 0) return;
        starts.push(at);
    }
    starts.push(sheets.length);
    // A sheet within a category starts with an entry, but where an entry is
    // taller than a sheet.
    layout.parts.slice(1).forEach((part, i) => {
        const within = sheets.slice(starts[i + 1] + 1, starts[i + 2]).map(firstLine);
        const split = within.filter(line => !part.titles.some(title => title === line ||
                                                               (line.length > 10 && title.startsWith(line))));
        check(split.length <= part.tallBreaks,
              `${part.name}: no entry split across sheets where it fits on one (${split.length} sheets go on ` +
              `with an entry, ${part.tallBreaks} may) ${split.join(' | ')}`);
    });
    layout.parts.forEach((part, i) => {
        const used = starts[i + 1] - starts[i];
        const fewest = Math.max(1, Math.ceil(part.height / SheetHeight));
        const mostFilled = Math.max(SheetHeight / 2, SheetHeight - Math.min(part.tallest, SheetHeight) - BreakSlack);
        const most = Math.max(1, Math.ceil(part.height / mostFilled));
        check(used >= fewest && used <= most,
              `${part.name}: ${used} sheets for ${Math.round(part.height)} pixels on paper (${fewest} to ${most})`);
    });
    console.log(`printed: ${sheets.length} sheets of A4 (${pdf})`);

    const tallest = Math.max(...layout.pictures.map(p => p.height));
    const capped = layout.pictures.filter(p => p.unbounded > SheetHeight / 2).length;
    check(tallest <= SheetHeight / 2 + 1 && capped > 0,
          `pictures print at most half a sheet high (tallest ${Math.round(tallest)} of ${SheetHeight}; ${capped} brought down)`);
}
