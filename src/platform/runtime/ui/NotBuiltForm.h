#pragma once
// A window whose content is still to come: it opens and closes like the real one (name,
// caption, place), says it is not built yet, and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

namespace vb {

class NotBuiltForm : public Form {
    Q_OBJECT
public:
    NotBuiltForm(const QString& name, const QString& caption, bool mdiChild);
    ~NotBuiltForm() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};

} // namespace vb
