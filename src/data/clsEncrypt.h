#pragma once
// The workspace password, built at run time so that it never stands in the program as text.
#include <QString>

class clsEncrypt {
public:
    // The 14-character password of the program's workspace login.
    QString GetDatabaseSecret() const;
};
