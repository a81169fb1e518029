#include "common/layout_math.h"

const char LineProbe[] =
    "!#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
    "abcdefghijklmnopqrstuvwxyz{|}~";

namespace {

// Gap between the logo pane and the first row.
const int RowGap = 16;

int WindowHeight(int logoHeight) {
    return logoHeight + MainWindowHeightBelowLogo;
}

LayoutRect FullWidthRow(const LayoutMeasures& m, int rowTop, int index) {
    int pitch = m.lineHeight + 2;
    return LayoutRect{8, rowTop + index * pitch, m.clientWidth - 16, m.lineHeight};
}

}  // namespace

LayoutRect MainWindowRect(int logoHeight, int screenWidth, int screenHeight) {
    int height = WindowHeight(logoHeight);
    // Integer division truncates toward zero, so a screen smaller than the
    // window gives -2 for a difference of -5, not -3.
    return LayoutRect{(screenWidth - MainWindowWidth) / 2, (screenHeight - height) / 2, MainWindowWidth, height};
}

ChildLayout ComputeChildLayout(const LayoutMeasures& m) {
    int rowTop = m.logoHeight + RowGap;
    int buttonTop = rowTop + 6 * (m.lineHeight + 2) + 2;
    int buttonHeight = 3 * m.lineHeight / 2;
    int installX = (m.clientWidth - m.selectWidth - m.installWidth - 8) / 2;

    ChildLayout layout;
    layout.logo = LayoutRect{8, 8, m.logoWidth + 6, m.logoHeight + 6};
    layout.description =
        LayoutRect{m.logoWidth + 22, 8, DescriptionWidth(m.logoWidth, m.clientWidth), DescriptionHeight(m.logoHeight)};
    layout.warning = FullWidthRow(m, rowTop, 0);
    layout.os = FullWidthRow(m, rowTop, 1);
    layout.architecture = FullWidthRow(m, rowTop, 2);
    layout.status = FullWidthRow(m, rowTop, 3);
    layout.unpackProgress = FullWidthRow(m, rowTop, 4);
    layout.folder = FullWidthRow(m, rowTop, 4);
    layout.message = FullWidthRow(m, rowTop, 5);
    layout.copyProgress = FullWidthRow(m, rowTop, 6);
    layout.install = LayoutRect{installX, buttonTop, m.installWidth, buttonHeight};
    layout.select = LayoutRect{installX + m.installWidth + 8, buttonTop, m.selectWidth, buttonHeight};
    layout.exit = LayoutRect{(m.clientWidth - m.exitWidth) / 2, buttonTop, m.exitWidth, buttonHeight};
    return layout;
}

int DescriptionWidth(int logoWidth, int clientWidth) {
    return clientWidth - logoWidth - 30;
}

int DescriptionHeight(int logoHeight) {
    return logoHeight + 6;
}
