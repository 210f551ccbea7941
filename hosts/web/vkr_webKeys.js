// vkr_webKeys.js: the page's keys as SDL 1.2 reports them on the desktop, where the keypad keys
// are keypad keys whatever Num Lock says and Scroll Lock, Pause and Print Screen have keys of
// their own; the browser's SDL knows them only by the character they type. Also: the program
// writes every pixel of the canvas at each frame, so SDL need not read it back before.
(function() {
  var scanCodes = {
    Numpad0: 98, Numpad1: 89, Numpad2: 90, Numpad3: 91, Numpad4: 92, Numpad5: 93, Numpad6: 94,
    Numpad7: 95, Numpad8: 96, Numpad9: 97, NumpadDecimal: 99, NumpadDivide: 84,
    NumpadMultiply: 85, NumpadSubtract: 86, NumpadAdd: 87, NumpadEnter: 88, NumpadEqual: 103,
    PrintScreen: 70, ScrollLock: 71, Pause: 72
  };
  var keyOfScanCode = 1 << 10;  // SDL's key number for a key that types no character
  var lookUp = SDL.lookupKeyCodeForEvent;
  SDL.lookupKeyCodeForEvent = function(event) {
    var scanCode = scanCodes[event.code];
    return scanCode ? (scanCode | keyOfScanCode) : lookUp(event);
  };
  Module['screenIsReadOnly'] = true;
})();
