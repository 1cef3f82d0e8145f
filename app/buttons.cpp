// The skin's buttons and value fields: one description of each.
#include "app/app.h"
#include "app/appstate.h"
#include "color/colortext.h"
#include "window/window.h"

const ButtonDescription buttonDescriptions[skinButtonCount] = {
    { { 6, 5, 19, 15 }, 10, 15, "Snap To Screen", toggleSnap, 0, 0, 0 },
    { { 22, 5, 35, 15 }, 25, 30, "Always On Top", toggleAlwaysOnTop, 0, 0, 0 },
    { { 48, 5, 61, 15 }, 40, 45, "Minimize", minimizeOrRestore, 0, 0, 0 },
    { { 64, 5, 77, 15 }, 55, 60, "Close", closeWindow, 0, 0, 0 },
    { { 55, 69, 65, 80 }, 85, 90, "More Red", NULL, +1, 0, 0 },
    { { 18, 69, 28, 80 }, 70, 75, "Less Red", NULL, -1, 0, 0 },
    { { 55, 81, 65, 92 }, 115, 120, "More Green", NULL, 0, +1, 0 },
    { { 18, 81, 28, 92 }, 100, 105, "Less Green", NULL, 0, -1, 0 },
    { { 55, 93, 65, 104 }, 145, 150, "More Blue", NULL, 0, 0, +1 },
    { { 18, 93, 28, 104 }, 130, 135, "Less Blue", NULL, 0, 0, -1 },
    { { 68, 111, 78, 122 }, 175, 180, "More White", NULL, +1, +1, +1 },
    { { 5, 111, 15, 122 }, 160, 165, "Less White", NULL, -1, -1, -1 },
};

const FieldDescription fieldDescriptions[drawnFieldCount] = {
    { { 27, 69, 54, 80 }, 32, 68, 140, 20, pasteDecimalFlag | pasteRedBit },
    { { 27, 81, 54, 92 }, 32, 80, 160, 40, pasteDecimalFlag | pasteGreenBit },
    { { 27, 93, 54, 104 }, 32, 92, 180, 60, pasteDecimalFlag | pasteBlueBit },
    { { 17, 112, 33, 121 }, 18, 110, 200, 80, pasteHexFlag | pasteRedBit },
    { { 33, 112, 49, 121 }, 34, 110, 220, 100, pasteHexFlag | pasteGreenBit },
    { { 49, 112, 65, 121 }, 50, 110, 240, 120, pasteHexFlag | pasteBlueBit },
};
