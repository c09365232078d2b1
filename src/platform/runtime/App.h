#pragma once
// The program's identity and folder, as the code asks for them.
#include <QString>

class App {
public:
    // The program's folder: the folder of the executable, unless a test pointed it elsewhere.
    static QString Path();
    static void setPath(const QString& folder);
    static QString Title() { return QStringLiteral("Ravelcombrick"); }
    static int Major() { return 2; }
    static int Minor() { return 0; }
    static int Revision() { return 0; }
};
