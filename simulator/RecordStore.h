// Stored records of the simulated device and the window that hands them out one at a
// time: a position that moves on by one with every window read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

using RecordRegisters = std::vector<uint16_t>;

class RecordStore {
  public:
    explicit RecordStore(size_t recordLength);

    size_t recordLength() const { return m_length; }
    uint16_t count() const;  // saturates at 0xFFFF
    // Replaces the contents; records of another length are dropped. Window back at 1.
    void replace(std::vector<RecordRegisters> records);
    void clear();
    // Makes record `number` (1 = first; 0 is taken as 1) the next one the window returns.
    // False, changing nothing, for a number above the count.
    bool position(uint16_t number);
    uint16_t nextNumber() const;
    // The next record without moving on; null when the window is past the last record.
    const RecordRegisters* peek() const;
    // The next record, moving on by one; none when the window is past the last record.
    std::optional<RecordRegisters> take();

  private:
    size_t m_length;
    std::vector<RecordRegisters> m_records;
    size_t m_next = 0;
};

// Voltage records kept in groups 1..8 behind one window over the chosen group.
class VoltageRecordStore {
  public:
    static constexpr uint16_t kGroups = 8;

    explicit VoltageRecordStore(size_t recordLength);

    uint16_t totalCount() const;  // over all groups, saturating
    uint16_t group() const { return m_group; }
    uint16_t groupCount() const;  // 0 while no group is chosen
    // Chooses group 1..8, or 0 for none, and puts the window at its first record.
    bool chooseGroup(uint16_t group);
    void replace(uint16_t group, std::vector<RecordRegisters> records);
    void clear();
    const RecordRegisters* peek() const;
    std::optional<RecordRegisters> take();

  private:
    std::vector<RecordStore> m_groups;
    uint16_t m_group = 1;
};
