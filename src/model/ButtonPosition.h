#pragma once

// Where the controls of button position k (1 ... 10) stand over the panel
// picture, in twips: five rows of two, SW1 / LED1 at the top left. The
// designation box stands 240 twips above the lists, at the module list's left.
struct ButtonPosition {
    int listTop, moduleLeft, channelLeft, labelLeft;
};

constexpr ButtonPosition buttonPosition(int k) {
    const int row = (k + 1) / 2;
    const bool left = k % 2 == 1;
    return {2640 + 1080 * (row - 1), left ? 1680 : 3480, left ? 2520 : 4320, left ? 1200 : 5040};
}
