// Fuzz target: number texts. Reading any text never fails, and any number written in the
// general form reads back to the same text (7 significant digits for floats, 15 for doubles).
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)numtext::numberReading(text);
    (void)numtext::isPlainDecimal(text);

    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        if (std::isfinite(d)) {
            const QString written = numtext::generalForm(d);
            if (numtext::generalForm(numtext::numberReading(written)) != written) std::abort();
        }
        float f;
        std::memcpy(&f, data, sizeof f);
        if (std::isfinite(f)) {
            const QString written = numtext::generalForm(f);
            if (numtext::generalForm(static_cast<float>(numtext::numberReading(written))) != written) std::abort();
            (void)numtext::signedFieldForm(f);
        }
    }
    return 0;
}
