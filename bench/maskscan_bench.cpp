// Times the mask scan of a large generated skin against a pixel-by-pixel GetPixel scan and
// against the program's earlier scan, which united the runs pairwise.
#include "bench/mask_reference.h"
#include "bench/pairwise_scan.h"
#include "app/appstate.h"
#include "skin/pixels.h"
#include "skin/skin.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

    // The two scans in turn, five times each: the medians.
    std::vector<double> fastTimes, pairwiseTimes;
    SkinAreas fast, pairwise;
    for (int round = 0; round < 5; round++) {
        double start = seconds();
        scanMask(mask, width, height, MAXDWORD); // the whole scan, though no window takes such a shape
        fastTimes.push_back(seconds() - start);
        freeScannedAreas(&fast);
        fast = takeScannedAreas();
        start = seconds();
        pairwiseScanMask(mask, width, height);
        pairwiseTimes.push_back(seconds() - start);
        freeScannedAreas(&pairwise);
        pairwise = takeScannedAreas();
    }
    std::sort(fastTimes.begin(), fastTimes.end());
    std::sort(pairwiseTimes.begin(), pairwiseTimes.end());
    double fastTime = fastTimes[2], pairwiseTime = pairwiseTimes[2];
    printf("program's scan (the mask's own bits, areas made of polygon pieces): %.1f ms (median of 5)\n",
           fastTime * 1000);
    printf("earlier scan (the same reading, runs united pairwise): %.1f ms (median of 5), %.1f times the program's\n",
           pairwiseTime * 1000, pairwiseTime / fastTime);

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
    printf("ratio: %.1f times faster (the earlier scan: %.1f times)\n", reference / fastTime, reference / pairwiseTime);

    std::string difference = compareScannedAreas(plain, fast);
    printf("regions and text colours identical: %s\n", difference.empty() ? "yes" : difference.c_str());
    // The earlier scan sets no text colours: only its regions are compared.
    for (int i = 0; i < drawnFieldCount; i++)
        pairwise.textColors[i] = plain.textColors[i];
    std::string earlier = compareScannedAreas(plain, pairwise);
    printf("earlier scan's regions identical: %s\n", earlier.empty() ? "yes" : earlier.c_str());

    freeScannedAreas(&fast);
    freeScannedAreas(&pairwise);
    freeScannedAreas(&between);
    freeScannedAreas(&plain);
    SelectObject(app.skinDC, startBitmap);
    DeleteDC(app.skinDC);
    app.skinDC = NULL;
    DeleteObject(skinBitmap);
    DeleteObject(mask);
    return difference.empty() ? 0 : 1;
}
