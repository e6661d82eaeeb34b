// The three cell pages (voltage, internal resistance, temperature): one design, configured
// by the register block, the value format and the list ids.
#pragma once

#include "ReadingPage.h"
#include "ValueText.h"

struct CellPageConfig {
    int templateId;
    int leftList;   // cells 1-20
    int rightList;  // cells 21-40
    uint16_t startRegister;
    ValueFormat format;
};

class CCellPage : public CReadingPage {
  public:
    CCellPage(const CellPageConfig& config, QWidget* parent);
    void showReply(const Bytes& reply) override;

  protected:
    bool onInitDialog() override;
    const CellPageConfig& config() const { return m_config; }

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
