#include "records/RecordFormSupport.h"

#include "data/ui/ErrorReport.h"
#include "data/ui/GridWidths.h"

#include "data/modHealth.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/Error.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/TextLimits.h"
#include "platform/runtime/ui/Twips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace recordform {

namespace {

constexpr vb::OLE_COLOR kEntryCaptionColour = 0xC00000; // dark blue

} // namespace

QLineEdit* makeTextBox(QWidget* parent, const char* name, int length)
{
    auto* box = new vb::LimitedLineEdit(length, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPlainTextEdit* makeMultiLineBox(QWidget* parent, const char* name, int length, int lines)
{
    auto* box = new vb::LimitedPlainTextEdit(length, parent);
    box->setObjectName(QLatin1String(name));
    box->setTabChangesFocus(true);
    const QFontMetrics metrics(box->font());
    box->setFixedHeight(metrics.lineSpacing() * lines + 2 * (box->frameWidth() + int(box->document()->documentMargin())));
    return box;
}

void fitToCharacters(QLineEdit* box, int characters)
{
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * characters + 12);
}

QBoxLayout* buttonColumn(std::initializer_list<QPushButton*> buttons)
{
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    for (QPushButton* b : buttons)
        column->addWidget(b);
    column->addStretch();
    return column;
}

DataControl* makeDataControl(QWidget* parent, const char* name, const QString& caption)
{
    auto* dat = new DataControl(parent);
    dat->setObjectName(QString::fromLatin1(name));
    dat->setCaption(caption);
    return dat;
}

VSFlexGrid* makeBoundGrid(QWidget* parent, const char* name, DataControl* source)
{
    auto* grid = new VSFlexGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setDataSource(source);
    return grid;
}

QStatusBar* makeStatusBar(QWidget* parent)
{
    auto* bar = new QStatusBar(parent);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    return bar;
}

QVBoxLayout* makeScrollingBody(QWidget* form, QStatusBar* statusBar)
{
    QVBoxLayout* body = vb::makeScrollingBody(form, statusBar).layout;
    body->setContentsMargins(6, 6, 6, 4);
    return body;
}

void chainTabOrder(std::initializer_list<QWidget*> widgets)
{
    for (auto it = widgets.begin(); it + 1 != widgets.end(); ++it)
        QWidget::setTabOrder(*it, *(it + 1));
}

void setBoxText(QLineEdit* box, const QString& text) { box->setText(text); }

void setMultiLineText(QPlainTextEdit* box, const QString& text) { box->setPlainText(text); }

void setOptions(const std::array<QRadioButton*, 2>& options, int which)
{
    // Exclusive options cannot be turned off one by one: lift the rule while setting them.
    for (int i = 0; i < 2; ++i) {
        options[i]->setAutoExclusive(false);
        options[i]->setChecked(i == which);
        options[i]->setAutoExclusive(true);
    }
}

void lockBox(QLineEdit* box, bool locked)
{
    box->setReadOnly(locked);
    vb::SetBackColor(box, locked ? vb::vbButtonFace : vb::vbWindowBackground);
    box->setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
}

void lockBox(QPlainTextEdit* box, bool locked)
{
    box->setReadOnly(locked);
    vb::SetBackColor(box, locked ? vb::vbButtonFace : vb::vbWindowBackground);
    box->setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
}

void freezeList(DataControl* data, VSFlexGrid* grid, bool frozen)
{
    data->setEnabled(!frozen);
    grid->setAttribute(Qt::WA_TransparentForMouseEvents, frozen);
    grid->setFocusPolicy(frozen ? Qt::NoFocus : Qt::StrongFocus);
}

void standOnKey(const dao::RecordsetPtr& rs, const QString& keyColumn, qint32 key)
{
    if (rs && rs->isOpen()) {
        if (rs->AbsolutePosition() >= 0 && vb::CLng(rs->Fields(keyColumn).Value()) == key)
            return;
        rs->FindFirst(keyColumn + QStringLiteral(" = ") + QString::number(key));
        if (!rs->NoMatch())
            return;
    }
    throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("The record being edited is no longer in the list."));
}

qint32 currentKey(const dao::RecordsetPtr& rs)
{
    if (!rs || !rs->isOpen() || rs->AbsolutePosition() < 0)
        return 0;
    return vb::CLng(rs->Fields(0).Value());
}

void setEntryLook(std::initializer_list<QWidget*> captions, bool entering)
{
    for (QWidget* w : captions) {
        QFont font = w->font();
        font.setBold(entering);
        w->setFont(font);
        vb::SetForeColor(w, entering ? kEntryCaptionColour : vb::vbBlack);
    }
}

void keepOwnLook(QGroupBox* frame)
{
    for (QWidget* child : frame->findChildren<QWidget*>()) {
        QPalette palette = child->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, palette.color(role));
        child->setPalette(palette);
        QFont font = child->font();
        font.setBold(false);
        child->setFont(font);
    }
}

void fitHeaders(VSFlexGrid& grid)
{
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    constexpr int kMarginPixels = 16;
    for (int col = grid.FixedCols(); col < grid.Cols(); ++col) {
        if (grid.ColHidden(col) || grid.ColWidth(col) <= 0)
            continue;
        const int needed = int(vb::PixelsToTwipsX(metrics.horizontalAdvance(grid.TextMatrix(0, col)) + kMarginPixels, &grid));
        if (grid.ColWidth(col) < needed)
            grid.setColWidth(col, needed);
    }
}

void loadColumnWidths(VSFlexGrid& grid) { modHealth::LoadGridColumnWidths(grid); }

void saveColumnWidths(VSFlexGrid& grid)
{
    try {
        modHealth::SaveGridColumnWidths(grid);
    } catch (const std::exception&) {
        // The widths of the last close stay stored.
    }
}

bool reportFailedSave(const dao::RecordsetPtr& rs, const std::exception& error, const QString& duplicateText)
{
    if (rs && rs->EditMode() != dao::dbEditNone)
        rs->CancelUpdate();
    const auto* engineError = dynamic_cast<const dao::Error*>(&error);
    if (!engineError || engineError->Number() != dao::errDuplicateKey) {
        errorreport::showError(error);
        return false;
    }
    errorreport::showError(engineError->Number(), duplicateText, vb::vbExclamation);
    return true;
}

} // namespace recordform
