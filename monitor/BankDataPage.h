// Battery bank data page: all 121 live registers in one read, into three 40-cell lists
// and the current edit.
#pragma once

#include "ReadingPage.h"

class CBankDataPage : public CReadingPage {
  public:
    explicit CBankDataPage(QWidget* parent = nullptr);
    void showRegisters(const Registers& values) override;

  private:
    bool onInitDialog() override;

    static const MessageEntry<CBankDataPage> kMessageMap[];
};
