#include "tools/mkinstaller/driver/layout_expect.h"

const char LayoutProbeText[] =
    "!#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

namespace {

// C++ integer division truncates toward zero, which is what the installer's
// halving does for negative differences too.
int Half(int value) { return value / 2; }

int WindowHeight(const LayoutInput& in) { return in.logoHeight + 188; }

} // namespace

LayoutRect ExpectedMainWindow(const LayoutInput& in)
{
    int height = WindowHeight(in);
    return {Half(in.screenWidth - 480), Half(in.screenHeight - height), 480, height};
}

void ExpectedChildren(const LayoutInput& in, LayoutRect out[LayoutChildCount])
{
    const int bw = in.logoWidth, bh = in.logoHeight, lh = in.lineHeight;
    const int rowTop = bh + 16;
    const int pitch = lh + 2;
    const int rowWidth = in.clientWidth - 16;
    const int buttonTop = rowTop + 6 * pitch + 2;
    const int buttonHeight = Half(3 * lh);
    const int installX = Half(in.clientWidth - in.selectWidth - in.installWidth - 8);
    auto row = [&](int n) { return LayoutRect{8, rowTop + n * pitch, rowWidth, lh}; };

    // Creation order: logo, description, OS, architecture, warning, status,
    // message, folder, unpack bar, copy bar, install, select, exit.
    out[0] = {8, 8, bw + 6, bh + 6};
    out[1] = {bw + 22, 8, in.clientWidth - bw - 30, bh + 6};
    out[2] = row(1);  // OsText
    out[3] = row(2);  // ArchitectureText
    out[4] = row(0);  // WarningText
    out[5] = row(3);  // StatusText
    out[6] = row(5);  // MessageText
    out[7] = row(4);  // FolderText shares the unpack bar's place
    out[8] = row(4);  // UnpackProgress
    out[9] = row(6);  // CopyProgress
    out[10] = {installX, buttonTop, in.installWidth, buttonHeight};
    out[11] = {installX + in.installWidth + 8, buttonTop, in.selectWidth, buttonHeight};
    out[12] = {Half(in.clientWidth - in.exitWidth), buttonTop, in.exitWidth, buttonHeight};
}
