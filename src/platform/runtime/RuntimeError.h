#pragma once
// A run-time error of the program's own code rather than the database engine's: a number, as
// the program has always shown it, and a description. The error reporter shows the program's
// title as its source.
#include <QString>
#include <stdexcept>

namespace vb {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description) : std::runtime_error(description.toStdString()), number_(number) {}
    int Number() const { return number_; }
    QString Description() const { return QString::fromStdString(what()); }

private:
    int number_;
};

} // namespace vb
