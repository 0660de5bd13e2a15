#include "Harness.h"

#include <QAbstractButton>

void Harness::assign(int row, int module, int channel) {
    const int moduleList = 2 * row + 1;
    tool.form.list(moduleList)->setListIndex(module);
    tool.form.list(moduleList + 1)->setListIndex(channel);
}

void Harness::assignAll() {
    for (int row = 0; row < 22; ++row)
        assign(row, 1 + row % 16, row % 10);
}

void Harness::lightingView() {
    tool.form.findChild<QAbstractButton*>("Option2")->click();
}
