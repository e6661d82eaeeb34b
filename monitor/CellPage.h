// The three cell pages (voltage, internal resistance, temperature): one design, configured
// by the page's layout, its register block and its value format.
#pragma once

#include "ReadingPage.h"
#include "Templates.h"
#include "ValueText.h"

struct CellPageConfig {
    const CellPageLayout& layout;
    uint16_t startRegister;
    ValueFormat format;
};

class CCellPage : public CReadingPage {
  public:
    CCellPage(const CellPageConfig& config, QWidget* parent);
    void showRegisters(const Registers& values) override;

  protected:
    bool onInitDialog() override;
    void clearValues();

  private:
    CellPageConfig m_config;
};

class CVoltagePage : public CCellPage {
  public:
    explicit CVoltagePage(QWidget* parent = nullptr);

  private:
    static const MessageEntry<CVoltagePage> kMessageMap[];
};

class CTemperaturePage : public CCellPage {
  public:
    explicit CTemperaturePage(QWidget* parent = nullptr);

  private:
    static const MessageEntry<CTemperaturePage> kMessageMap[];
};

// The resistance page also starts a manual internal-resistance test of one or all cells.
class CResistancePage : public CCellPage {
  public:
    explicit CResistancePage(QWidget* parent = nullptr);

  private:
    bool onInitDialog() override;
    void onReadingStarted() override;
    void onReadingStopped() override;
    void onManualTest();

    static const MessageEntry<CResistancePage> kMessageMap[];
};
