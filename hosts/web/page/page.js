// page.js: runs a program's WebAssembly build on the page (the demo's unless the page's script
// names another in data-program, with its title in data-title): loading, Start, the screen's
// scale and full screen, the frame rate measured from the program's frames, and every failure in
// words.
// Only Module is global: the program's script declares many globals of its own, and reads Module
// when it loads, so Module is complete before the script is added.
var Module = {};

(function () {
  'use strict';

  const pageScript = document.currentScript;
  const kProgramScript = pageScript.dataset.program || 'copperbramble-web.js';
  // Another program than the demo: its own title, and none of the demo's own words.
  const otherTitle = pageScript.dataset.title;
  const programWord = otherTitle ? 'program' : 'demo';
  const kOutputLinesKept = 300;
  const kFailureLinesShown = 6;

  const stage = document.getElementById('stage');
  const screenCanvas = document.getElementById('screen');
  const startButton = document.getElementById('start');
  const fullscreenButton = document.getElementById('fullscreen');
  const frameRateText = document.getElementById('fps');
  const statusText = document.getElementById('status');
  const messageBox = document.getElementById('message');
  const outputLog = document.getElementById('log');

  const errorLines = [];
  let started = false;
  let ended = false;
  let ready = false;
  let failed = false;
  let framesSinceTick = 0;
  let lastTick = 0;

  function showStatus(text) {
    statusText.textContent = text;
  }

  // The first failure stays on screen: later ones are usually its consequences.
  function showFailure(title, detail) {
    if (failed) return;
    failed = true;
    messageBox.replaceChildren();
    const heading = document.createElement('strong');
    heading.textContent = title;
    messageBox.append(heading);
    const lines = [detail, ...errorLines.slice(-kFailureLinesShown)].filter(Boolean);
    if (lines.length) {
      const text = document.createElement('pre');
      text.textContent = lines.join('\n');
      messageBox.append(text);
    }
    messageBox.hidden = false;
    startButton.disabled = true;
    startButton.textContent = 'Stopped';
    showStatus('');
  }

  function appendOutput(text, isError) {
    const line = String(text);
    if (isError) {
      errorLines.push(line);
      if (errorLines.length > kFailureLinesShown) errorLines.shift();
      console.warn(line);
    } else {
      console.log(line);
    }
    outputLog.append(line + '\n');
    while (outputLog.childNodes.length > kOutputLinesKept) outputLog.firstChild.remove();
  }

  // The largest whole multiple of the program's own picture size that fits, or a smaller
  // fractional scale when even one times does not fit; pixels stay square and sharp.
  function fitScreen() {
    const width = screenCanvas.width;
    const height = screenCanvas.height;
    if (!width || !height) return;
    const full = document.fullscreenElement === stage;
    const roomWidth = full ? window.innerWidth : stage.clientWidth;
    const roomHeight = full ? window.innerHeight : Math.max(height, window.innerHeight * 0.8);
    const fit = Math.min(roomWidth / width, roomHeight / height);
    const scale = fit >= 1 ? Math.floor(fit) : fit;
    stage.style.setProperty('--screen-width', Math.floor(width * scale) + 'px');
    stage.style.setProperty('--screen-height', Math.floor(height * scale) + 'px');
  }

  function tickFrameRate() {
    const now = performance.now();
    if (started && !ended && lastTick) {
      const perSecond = (framesSinceTick * 1000) / (now - lastTick);
      frameRateText.textContent = perSecond.toFixed(1) + ' frames a second';
    }
    framesSinceTick = 0;
    lastTick = now;
  }

  function frameShown() {
    ++framesSinceTick;
  }

  function programReady() {
    if (failed) return;
    ready = true;
    startButton.disabled = false;
    startButton.textContent = 'Start';
    showStatus('Ready: press Start.');
  }

  function programEnded(code) {
    ended = true;
    frameRateText.textContent = '– frames a second';
    if (code !== 0) {
      showFailure('The program ended with code ' + code + '.');
      return;
    }
    showStatus('The ' + programWord + ' has ended.');
    startButton.textContent = 'Watch again';
    startButton.disabled = false;
    startButton.hidden = false;
  }

  function start() {
    if (ended) {
      location.reload();
      return;
    }
    if (started) return;
    started = true;
    startButton.hidden = true;
    showStatus('Playing.');
    screenCanvas.focus({ preventScroll: true });
    lastTick = performance.now();
    framesSinceTick = 0;
    try {
      Module.callMain([]);
    } catch (error) {
      showFailure('The program stopped with an error.', String(error));
    }
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      stage.requestFullscreen().then(() => {
        if (started) screenCanvas.focus({ preventScroll: true });
      }, (error) => showStatus('Full screen was refused: ' + error.message));
    }
  }

  // Download progress arrives as "... (done/total)"; the program's other states are shown by
  // the page itself.
  function showLoadProgress(text) {
    const progress = /\((\d+)\/(\d+)\)/.exec(text || '');
    if (progress && Number(progress[2]) > 0 && !failed)
      showStatus('Loading the ' + programWord + ': ' + Math.round((100 * progress[1]) / progress[2]) + ' %');
  }

  function loadProgram() {
    if (typeof WebAssembly !== 'object') {
      showFailure('This browser cannot run WebAssembly.',
                  'The ' + programWord + ' is compiled to WebAssembly; a current browser with it switched on runs it.');
      return;
    }
    if (!window.AudioContext && !window.webkitAudioContext) {
      showFailure('This browser has no Web Audio.',
                  'The ' + programWord + ' plays its sound through Web Audio; a current browser with it switched on runs it.');
      return;
    }
    showStatus('Loading the ' + programWord + '…');
    const script = document.createElement('script');
    script.src = kProgramScript;
    script.onerror = () => showFailure('The ' + programWord + ' could not be loaded.',
                                       kProgramScript + ' did not arrive (a network error or a missing file). Reload to try again.');
    document.body.append(script);
  }

  window.addEventListener('error', (event) => {
    showFailure('The ' + programWord + ' failed.', event.message || String(event.error));
  });
  window.addEventListener('unhandledrejection', (event) => {
    showFailure('The ' + programWord + ' failed.', String(event.reason));
  });
  window.addEventListener('resize', fitScreen);
  document.addEventListener('fullscreenchange', () => {
    fullscreenButton.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
    fitScreen();
  });
  // The program sets the canvas's size when it changes between the LCD and television sizes.
  new MutationObserver(fitScreen).observe(screenCanvas, { attributes: true, attributeFilter: ['width', 'height'] });
  // The program takes every key the screen receives; Tab still moves the focus on.
  stage.addEventListener('keydown', (event) => {
    if (event.key === 'Tab') event.stopPropagation();
  }, true);
  screenCanvas.addEventListener('click', () => screenCanvas.focus({ preventScroll: true }));
  startButton.addEventListener('click', start);
  fullscreenButton.addEventListener('click', toggleFullscreen);
  if (!document.fullscreenEnabled) {
    fullscreenButton.disabled = true;
    fullscreenButton.title = 'This browser does not allow full screen here.';
  }
  if (otherTitle) {
    document.title = otherTitle;
    document.querySelector('h1').textContent = otherTitle;
    for (const element of document.querySelectorAll('.demo-only')) element.hidden = true;
  }
  Object.assign(Module, {
    canvas: screenCanvas,
    keyboardListeningElement: screenCanvas,
    noInitialRun: true,
    print: (text) => appendOutput(text, false),
    printErr: (text) => appendOutput(text, true),
    setStatus: showLoadProgress,
    onRuntimeInitialized: programReady,
    // Before the program is ready an abort means its WebAssembly or data did not arrive.
    onAbort: (what) => showFailure(ready ? 'The program stopped with an error.'
                                         : 'The ' + programWord + ' could not be loaded.', String(what)),
    cbOnFrame: frameShown,
    cbOnExit: programEnded,
  });
  setInterval(tickFrameRate, 1000);
  fitScreen();
  loadProgram();
})();
