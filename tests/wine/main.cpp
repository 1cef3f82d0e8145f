// Runs the Wine lane's GoogleTest cases inside one Windows process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

// A second process for the clipboard tests: "--hold-clipboard NAME" opens the clipboard,
// sets the event NAME.ready and keeps the clipboard open until NAME.release is set.
static int holdClipboard(const char* name)
{
    std::string base = name;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, (base + ".ready").c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, (base + ".release").c_str());
    // Wine lets a second opener with the same (null) window in, so hold it with a window.
    HWND owner = CreateWindowExA(0, "STATIC", "clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    int result = 2;
    if (ready && release && owner && OpenClipboard(owner)) {
        SetEvent(ready);
        // bounded, so a test that dies cannot leave the clipboard locked for good
        WaitForSingleObject(release, 30000);
        CloseClipboard();
        result = 0;
    }
    if (owner)
        DestroyWindow(owner);
    if (ready)
        CloseHandle(ready);
    if (release)
        CloseHandle(release);
    return result;
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--hold-clipboard") == 0)
        return holdClipboard(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
