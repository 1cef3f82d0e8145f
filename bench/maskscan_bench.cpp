// Times the mask scan of a large generated skin against a pixel-by-pixel GetPixel scan.
#include "bench/mask_reference.h"
#include "app/appstate.h"
#include "skin/pixels.h"
#include "skin/skin.h"

#include <cstdio>

static double seconds()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// The mask read in one copy but every run united into its area on its own: shows what
// the way of uniting costs, apart from the way of reading (areas only, no text colours).
static void bulkReadRunByRun(HBITMAP mask, int width, int height)
{
    HDC maskDC = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(maskDC, mask);
    PixelBuffer pixels;
    createPixelBuffer(&pixels, width, height);
    capturePixels(&pixels, maskDC, 0, 0, width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width;) {
            COLORREF color = pixelAt(pixels, x, y);
            int end = x + 1;
            while (end < width && pixelAt(pixels, end, y) == color)
                end++;
            addMaskRun(x, y, end - x, color);
            x = end;
        }
    freePixelBuffer(&pixels);
    SelectObject(maskDC, old);
    DeleteDC(maskDC);
}

int main()
{
    const int width = 2048, height = 2048;
    Picture skin = placedPicture(width, height);
    Picture maskPicture(width, height);
    size_t runs = fillRandomMask(&maskPicture, 1, 40, 2024);
    printf("mask %d x %d, %u runs\n", width, height, unsigned(runs));

    HBITMAP skinBitmap = createDibFromPicture(skin);
    HBITMAP mask = createDibFromPicture(maskPicture);
    app.skinDC = CreateCompatibleDC(NULL);
    if (!skinBitmap || !mask || !app.skinDC) {
        printf("could not make the bitmaps\n");
        return 1;
    }
    HGDIOBJ startBitmap = SelectObject(app.skinDC, skinBitmap);

    double fastBest = 1e9;
    SkinAreas fast;
    for (int round = 0; round < 3; round++) {
        double start = seconds();
        scanMask(mask, width, height);
        double took = seconds() - start;
        if (took < fastBest)
            fastBest = took;
        freeScannedAreas(&fast);
        fast = takeScannedAreas();
    }
    printf("program's scan (strips in one copy each, runs united pairwise): %.1f ms (best of 3)\n", fastBest * 1000);

    double start = seconds();
    bulkReadRunByRun(mask, width, height);
    double runByRun = seconds() - start;
    SkinAreas between = takeScannedAreas();
    printf("one copy, one CombineRgn a run: %.1f ms\n", runByRun * 1000);

    start = seconds();
    referenceScanMask(mask, width, height);
    double reference = seconds() - start;
    SkinAreas plain = takeScannedAreas();
    printf("pixel by pixel (GetPixel, addMaskRun a run): %.1f ms\n", reference * 1000);
    printf("ratio: %.1f times faster\n", reference / fastBest);

    std::string difference = compareScannedAreas(plain, fast);
    printf("regions and text colours identical: %s\n", difference.empty() ? "yes" : difference.c_str());

    freeScannedAreas(&fast);
    freeScannedAreas(&between);
    freeScannedAreas(&plain);
    SelectObject(app.skinDC, startBitmap);
    DeleteDC(app.skinDC);
    app.skinDC = NULL;
    DeleteObject(skinBitmap);
    DeleteObject(mask);
    return difference.empty() ? 0 : 1;
}
