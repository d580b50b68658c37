#pragma once

#include <QLocale>

#include <clocale>
#include <string>

namespace tamsor::test {

// Switches the C library and Qt's default locale to German (comma decimal
// point) and back.
class GermanLocale {
public:
    GermanLocale() : previousC_(std::setlocale(LC_ALL, nullptr)), previousQt_(QLocale()) {
        armed_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        QLocale::setDefault(QLocale(QLocale::German));
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, previousC_.c_str());
        QLocale::setDefault(previousQt_);
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    [[nodiscard]] bool armed() const { return armed_; }

private:
    std::string previousC_;
    QLocale previousQt_;
    bool armed_ = false;
};

} // namespace tamsor::test
