// Record query page: its buttons only switch the page slot; no port, no reset.
#include "RecordQueryPage.h"

#include "RecordPage.h"
#include "Templates.h"
#include "ids/RecordQueryIds.h"

namespace ids = idc::record_query;
using P = CRecordQueryPage;

const MessageEntry<P> P::kMessageMap[] = {
    {ids::kVoltageRecords, Notify::Clicked, &P::OnVoltageRecords},
    {ids::kResistanceRecords, Notify::Clicked, &P::OnResistanceRecords},
    {ids::kAlarmRecords, Notify::Clicked, &P::OnAlarmRecords},
    {ids::kCurveRecords, Notify::Clicked, &P::OnCurveRecords},
};

CRecordQueryPage::CRecordQueryPage(QWidget* parent)
    : CDialog(dialogTemplate(IDD_RECORD_QUERY), parent) {
    useMessageMap<P>(kMessageMap);
}

void CRecordQueryPage::setRecordDialogs(ShowInSlot show, CRecordPage* voltage,
                                        CRecordPage* resistance, CRecordPage* alarm,
                                        CRecordPage* curves) {
    m_show = std::move(show);
    m_voltage = voltage;
    m_resistance = resistance;
    m_alarm = alarm;
    m_curves = curves;
    for (CRecordPage* dialog : {voltage, resistance, alarm, curves}) {
        if (dialog != nullptr) {
            dialog->setBack([this] { showRecords(this); });
        }
    }
}

void CRecordQueryPage::OnVoltageRecords() {
    showRecords(m_voltage);
}

void CRecordQueryPage::OnResistanceRecords() {
    showRecords(m_resistance);
}

void CRecordQueryPage::OnAlarmRecords() {
    showRecords(m_alarm);
}

void CRecordQueryPage::OnCurveRecords() {
    showRecords(m_curves);
}

void CRecordQueryPage::showRecords(CDialog* dialog) {
    if (dialog != nullptr && m_show) {
        m_show(dialog);
    }
}
