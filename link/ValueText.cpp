// Text of live values.
#include "ValueText.h"

#include "RegisterCoding.h"

std::string formatValue(const ValueFormat& format, uint16_t value) {
    if (format.negativeFormat == nullptr) {
        return formatScaled(value, format.scale, format.format);
    }
    return formatSignMagnitude(value, format.scale, format.format, format.negativeFormat);
}

std::string channelLabel(int cell) {
    return "通道#" + std::to_string(cell);
}
