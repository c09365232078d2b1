#include "calculators/frmCnFConverter.h"

frmCnFConverter::frmCnFConverter()
    : vb::NotBuiltForm(QStringLiteral("frmCnFConverter"), QStringLiteral("    Fahrenheight-Centigrade Temperature Converter"),
                       false)
{}
