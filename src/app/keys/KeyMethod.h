#pragma once
// One command that a key can be bound to: its serial number (its place in the
// command table) and localized name.
#include <QString>

namespace wex {

class KeyMethod {
public:
    KeyMethod() = default;
    KeyMethod(int serial, const QString &name) : serial_(serial), name_(name) {}

    int serial() const { return serial_; }
    const QString &name() const { return name_; }

private:
    int serial_ = -1;
    QString name_;
};

} // namespace wex
