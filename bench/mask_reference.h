// The plain mask scan, every pixel read on its own and every run united on its own: the
// measure the program's scan must match (the Wine tests) and beat (the mask benchmark); with
// the random masks both feed it and the comparison of two scans' areas.
#pragma once

#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "bench/picture.h"
#include "skin/skin.h"

// Unites the run into the area its colour marks; false for a colour that is no area.
inline bool addMaskRun(int x, int y, int length, COLORREF color)
{
    HRGN* region = maskAreaRegion(color);
    if (!region)
        return false;
    HRGN run = CreateRectRgn(x, y, x + length, y + 1);
    if (!*region) {
        *region = run;
    } else {
        CombineRgn(*region, *region, run, RGN_OR);
        DeleteObject(run);
    }
    return true;
}

// Text-colour marker of a drawn field (0 redDecField .. 5 blueHexField).
inline COLORREF textMarker(int field)
{
    return RGB(0, 0, 20 * (field + 1));
}

// A mask of runs of random length and colour, drawn from every colour a mask may use (the
// body and display colours, greens in steps of 5, blues in steps of 20), black and a few
// colours that mean nothing. A third of the rows repeat the row above, so that bands of
// equal rows join as they do in real masks. Returns the number of runs.
inline size_t fillRandomMask(Picture* mask, int shortestRun, int longestRun, unsigned noise)
{
    std::vector<COLORREF> colors = { RGB(255, 0, 0),     RGB(0, 50, 50), RGB(0, 100, 100), RGB(0, 0, 0),
                                     RGB(255, 255, 255), RGB(0, 0, 1),   RGB(1, 0, 0) };
    for (int g = 5; g <= 180; g += 5)
        colors.push_back(RGB(0, g, 0));
    for (int b = 20; b <= 240; b += 20)
        colors.push_back(RGB(0, 0, b));
    auto next = [&noise] {
        noise = noise * 1664525u + 1013904223u;
        return noise >> 8;
    };
    size_t runs = 0;
    for (int y = 0; y < mask->height; y++) {
        bool repeat = y > 0 && next() % 3 == 0;
        for (int x = 0; x < mask->width;) {
            int length = shortestRun + int(next() % unsigned(longestRun - shortestRun + 1));
            COLORREF color = colors[next() % colors.size()];
            for (int i = 0; i < length && x < mask->width; i++, x++)
                mask->at(x, y) = repeat ? mask->at(x, y - 1) : color;
        }
        for (int x = 0; x < mask->width; x++)
            runs += x == 0 || mask->at(x, y) != mask->at(x - 1, y);
    }
    return runs;
}

// The mask scan done the plain way: every mask pixel read with GetPixel, one addMaskRun
// for each run, text colours from the skin under each marker run's first pixel.
inline void referenceScanMask(HBITMAP mask, int width, int height)
{
    bool ownMarker[drawnFieldCount] = {};
    for (int i = 0; i < drawnFieldCount; i++)
        app.valueFields[i].textColor = 0;
    HDC maskDC = CreateCompatibleDC(app.windowDC);
    HGDIOBJ old = SelectObject(maskDC, mask);
    for (int y = 0; y < height; y++) {
        COLORREF color = GetPixel(maskDC, 0, y);
        for (int x = 0; x < width;) {
            int end = x + 1;
            COLORREF next = CLR_INVALID;
            while (end < width && (next = GetPixel(maskDC, end, y)) == color)
                end++;
            if (!addMaskRun(x, y, end - x, color)) {
                int field = -1;
                for (int i = 0; i < drawnFieldCount; i++)
                    if (color == textMarker(i))
                        field = i;
                if (field >= 0) {
                    app.valueFields[field].textColor = GetPixel(app.skinDC, x, y);
                    ownMarker[field] = true;
                } else if (color == 0) {
                    for (int i = 0; i < drawnFieldCount; i++)
                        if (!ownMarker[i])
                            app.valueFields[i].textColor = GetPixel(app.skinDC, x, y);
                }
            }
            x = end;
            color = next;
        }
    }
    SelectObject(maskDC, old);
    DeleteDC(maskDC);
    finishMaskAreas();
}

// What a mask scan produces, taken out of AppState so that another scan can start afresh.
struct SkinAreas {
    std::vector<HRGN> regions; // body, display halves, per button face/pressed/hit, fields
    COLORREF textColors[drawnFieldCount];
    POINT textOrigins[drawnFieldCount];
};

inline SkinAreas takeScannedAreas()
{
    SkinAreas areas;
    std::vector<HRGN*> fields = { &app.bodySkinRegion, &app.displayTopRegion, &app.displayBottomRegion };
    for (SkinButton& button : app.skinButtons)
        fields.insert(fields.end(), { &button.faceRegion, &button.pressedRegion, &button.hitRegion });
    for (int i = 0; i < drawnFieldCount; i++) {
        fields.push_back(&app.valueFields[i].region);
        areas.textColors[i] = app.valueFields[i].textColor;
        areas.textOrigins[i] = { app.valueFields[i].textX, app.valueFields[i].textY };
    }
    for (HRGN* field : fields) {
        areas.regions.push_back(*field);
        *field = NULL;
    }
    return areas;
}

inline void freeScannedAreas(SkinAreas* areas)
{
    for (HRGN region : areas->regions)
        DeleteObject(region); // a null one is refused harmlessly
    areas->regions.clear();
}

// Empty when both scans agree, else the first difference.
inline std::string compareScannedAreas(const SkinAreas& a, const SkinAreas& b)
{
    for (size_t i = 0; i < a.regions.size() && i < b.regions.size(); i++)
        if (!a.regions[i] != !b.regions[i] || (a.regions[i] && !EqualRgn(a.regions[i], b.regions[i])))
            return "region " + std::to_string(i) + (a.regions[i] ? " set" : " null") + " / "
                + (b.regions[i] ? "set" : "null");
    char text[96] = "";
    for (int i = 0; i < drawnFieldCount && !text[0]; i++)
        if (a.textColors[i] != b.textColors[i] || a.textOrigins[i].x != b.textOrigins[i].x
            || a.textOrigins[i].y != b.textOrigins[i].y)
            snprintf(text, sizeof text, "field %d: colour %06lX at (%ld,%ld) / %06lX at (%ld,%ld)", i, a.textColors[i],
                     a.textOrigins[i].x, a.textOrigins[i].y, b.textColors[i], b.textOrigins[i].x, b.textOrigins[i].y);
    return text;
}
