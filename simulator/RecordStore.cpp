// Record stores of the simulated device: counting, deleting, positioning and the window.
#include "RecordStore.h"

#include <algorithm>

namespace {

uint16_t saturate(size_t n) {
    return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF));
}

}  // namespace

RecordStore::RecordStore(size_t recordLength) : m_length(recordLength) {}

uint16_t RecordStore::count() const {
    return saturate(m_records.size());
}

void RecordStore::replace(std::vector<RecordRegisters> records) {
    std::erase_if(records, [this](const RecordRegisters& r) { return r.size() != m_length; });
    m_records = std::move(records);
    m_next = 0;
}

void RecordStore::clear() {
    m_records.clear();
    m_next = 0;
}

bool RecordStore::position(uint16_t number) {
    const size_t index = number == 0 ? 0 : number - 1u;
    if (index >= m_records.size()) {
        return false;
    }
    m_next = index;
    return true;
}

uint16_t RecordStore::nextNumber() const {
    return saturate(m_next + 1);
}

const RecordRegisters* RecordStore::peek() const {
    return m_next < m_records.size() ? &m_records[m_next] : nullptr;
}

std::optional<RecordRegisters> RecordStore::take() {
    if (m_next >= m_records.size()) {
        return std::nullopt;
    }
    return m_records[m_next++];
}

VoltageRecordStore::VoltageRecordStore(size_t recordLength)
    : m_groups(kGroups, RecordStore(recordLength)) {}

uint16_t VoltageRecordStore::totalCount() const {
    size_t total = 0;
    for (const RecordStore& g : m_groups) {
        total += g.count();
    }
    return saturate(total);
}

uint16_t VoltageRecordStore::groupCount() const {
    return m_group == 0 ? 0 : m_groups[m_group - 1u].count();
}

bool VoltageRecordStore::chooseGroup(uint16_t group) {
    if (group > kGroups) {
        return false;
    }
    m_group = group;
    if (group != 0) {
        m_groups[group - 1u].position(1);
    }
    return true;
}

void VoltageRecordStore::replace(uint16_t group, std::vector<RecordRegisters> records) {
    if (group >= 1 && group <= kGroups) {
        m_groups[group - 1u].replace(std::move(records));
    }
}

void VoltageRecordStore::clear() {
    for (RecordStore& g : m_groups) {
        g.clear();
    }
}

const RecordRegisters* VoltageRecordStore::peek() const {
    return m_group == 0 ? nullptr : m_groups[m_group - 1u].peek();
}

std::optional<RecordRegisters> VoltageRecordStore::take() {
    if (m_group == 0) {
        return std::nullopt;
    }
    return m_groups[m_group - 1u].take();
}
