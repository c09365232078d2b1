#include "reports/frmImportMeasurements.h"

#include "data/Globals.h"
#include "data/MeasurementImport.h"
#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/GridWidths.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/TextLength.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/runtime/ui/UserInputDrop.h"
#include "platform/runtime/ui/WindowPlacement.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"
#include "reports/MeasurementImportFile.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <algorithm>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

using namespace MeasurementImportFile;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

constexpr int kMargin = 200;            // twips
constexpr int kErrorTopRestored = 5160; // twips
constexpr int kErrorTopExpanded = 100;
constexpr int kErrorHeight = 1000;
constexpr int kArrowsSize = 420;

// A triangle pointing up (the panel grows) or down (it goes back), drawn for the panel button.
QPixmap arrowPicture(bool up)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    for (int y : {2, 8}) {
        if (up) {
            path.moveTo(8, y);
            path.lineTo(14, y + 6);
            path.lineTo(2, y + 6);
        } else {
            path.moveTo(2, y);
            path.lineTo(14, y);
            path.lineTo(8, y + 6);
        }
        path.closeSubpath();
    }
    p.fillPath(path, QColor(0x20, 0x40, 0x80));
    return picture;
}

vb::OLE_COLOR backColor(const VSFlexGrid& grid, int row, int col)
{
    return grid.Cell(flexcpBackColor, row, col).value<vb::OLE_COLOR>();
}

using errorreport::guarded;

} // namespace

// A long load or write. While it lasts the window's messages run now and then, so that it is
// painted and its status counts the rows, but the user's clicks and keys aimed at the window are
// dropped and the window stays open; at its end the input that waited meanwhile is let through to
// be dropped, not run afterwards.
class frmImportMeasurements::Work {
public:
    explicit Work(frmImportMeasurements& window) : window_(window)
    {
        window_.inputDrop_ = std::make_unique<vb::UserInputDrop>(window_);
    }
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;
    ~Work() { window_.inputDrop_.reset(); }

private:
    frmImportMeasurements& window_;
};

// A load or write handler, from its start to its end. A close of the window asked meanwhile (by
// the window manager, delivered wherever the work lets messages run) waits for the handler to
// end, and the window then closes as asked: unloaded in the middle, the window would be gone
// from under the handler that still fills it.
class frmImportMeasurements::CloseWaits {
public:
    explicit CloseWaits(frmImportMeasurements& window) : window_(window) { ++window_.running_; }
    CloseWaits(const CloseWaits&) = delete;
    CloseWaits& operator=(const CloseWaits&) = delete;
    ~CloseWaits()
    {
        if (--window_.running_ > 0 || !std::exchange(window_.closeAsked_, false))
            return;
        // From the event loop, once the handler has returned.
        QMetaObject::invokeMethod(
            &window_, [w = &window_] { w->close(); }, Qt::QueuedConnection);
    }

private:
    frmImportMeasurements& window_;
};

frmImportMeasurements::frmImportMeasurements()
    : vb::Form(QStringLiteral("frmImportMeasurements")), maxLines_(std::numeric_limits<int>::max() - 20)
{
    setCaption(QStringLiteral("Import the Data from File"));

    fraTop = new QWidget(this);
    lblPerson = new QLabel(QStringLiteral("Select Person:"), fraTop);
    cboPerson = vb::makeComboBox(fraTop, "cboPerson");
    cboPerson->setMinimumContentsLength(24);
    for (int i = 0; i < 4; ++i) {
        lblStep[i] = new QLabel(QStringLiteral("Step %1:").arg(i + 1), fraTop);
        lblStep[i]->setObjectName(QStringLiteral("lblStep_%1").arg(i));
        QFont bold = lblStep[i]->font();
        bold.setBold(true);
        lblStep[i]->setFont(bold);
    }

    fraTemplate = vb::makeFrame(fraTop, "fraTemplate", QStringLiteral("Importing from Template File"));
    cmdGenerateTemplate = vb::makeButton(fraTemplate, "cmdGenerateTemplate", QStringLiteral("Generate the Template"));
    (new QHBoxLayout(fraTemplate))->addWidget(cmdGenerateTemplate);

    fraFile = vb::makeFrame(fraTop, "fraFile", QStringLiteral("Importing from File"));
    lblFile = new QLabel(QStringLiteral("File to load:"), fraFile);
    txtImportFileName = new QLineEdit(fraFile);
    txtImportFileName->setObjectName(QStringLiteral("txtImportFileName"));
    cmdImportFile = vb::makeButton(fraFile, "cmdImportFile", QStringLiteral("&Import from File"));
    auto* fileRow = new QHBoxLayout(fraFile);
    fileRow->addWidget(lblFile);
    fileRow->addWidget(txtImportFileName, 1);
    fileRow->addWidget(cmdImportFile);

    fraBrowse = vb::makeFrame(fraTop, "fraBrowse", QStringLiteral("Optional - For Verification"));
    cmdBrowseData = vb::makeButton(fraBrowse, "cmdBrowseData", QStringLiteral("Browse Data"));
    optBrowse[0] = new QRadioButton(QStringLiteral("in txt"), fraBrowse);
    optBrowse[1] = new QRadioButton(QStringLiteral("in csv (MS Excel)"), fraBrowse);
    optBrowse[0]->setObjectName(QStringLiteral("optBrowse_0"));
    optBrowse[1]->setObjectName(QStringLiteral("optBrowse_1"));
    optBrowse[1]->setChecked(true);
    auto* browseRow = new QHBoxLayout(fraBrowse);
    browseRow->addWidget(cmdBrowseData);
    browseRow->addWidget(optBrowse[0]);
    browseRow->addWidget(optBrowse[1]);
    browseRow->addStretch(1);

    cmdLoadTemplateToGrid = vb::makeButton(fraTop, "cmdLoadTemplateToGrid", QStringLiteral("Load the Data into Grid Below"));
    cmdLoadDataFromGrid = vb::makeButton(fraTop, "cmdLoadDataFromGrid", QStringLiteral("Load the Data from the Grid"));

    frmeValidate = vb::makeFrame(fraTop, "frmeValidate", QStringLiteral("Filter Grid Data By"));
    cboValidate = vb::makeComboBox(frmeValidate, "cboValidate");
    cmdValidate = vb::makeButton(frmeValidate, "cmdValidate", QStringLiteral("Filter"));
    auto* validateRow = new QHBoxLayout(frmeValidate);
    validateRow->addWidget(cboValidate, 1);
    validateRow->addWidget(cmdValidate);

    frmeLoad = vb::makeFrame(fraTop, "frmeLoad", QStringLiteral("Filter Grid Data By"));
    cboLoad = vb::makeComboBox(frmeLoad, "cboLoad");
    cmdLoad = vb::makeButton(frmeLoad, "cmdLoad", QStringLiteral("Filter"));
    auto* loadRow = new QHBoxLayout(frmeLoad);
    loadRow->addWidget(cboLoad, 1);
    loadRow->addWidget(cmdLoad);

    auto* top = new QGridLayout(fraTop);
    top->setContentsMargins(0, 0, 0, 0);
    auto* personRow = new QHBoxLayout;
    personRow->addWidget(lblPerson);
    personRow->addWidget(cboPerson);
    personRow->addStretch(1);
    top->addLayout(personRow, 0, 0, 1, 3);
    top->addWidget(lblStep[0], 1, 0, Qt::AlignTop | Qt::AlignLeft);
    top->addWidget(fraTemplate, 1, 1);
    top->addWidget(fraFile, 1, 2);
    top->addWidget(fraBrowse, 2, 2);
    top->addWidget(lblStep[1], 3, 0);
    top->addWidget(cmdLoadTemplateToGrid, 3, 1);
    top->addWidget(lblStep[2], 4, 0);
    auto* filters = new QHBoxLayout;
    filters->addWidget(frmeValidate);
    filters->addWidget(frmeLoad);
    filters->addStretch(1);
    top->addLayout(filters, 4, 1, 1, 2);
    top->addWidget(lblStep[3], 5, 0);
    top->addWidget(cmdLoadDataFromGrid, 5, 1);
    top->setColumnStretch(2, 1);
    top->setRowStretch(6, 1);

    txtError = new QPlainTextEdit(this);
    txtError->setObjectName(QStringLiteral("txtError"));
    txtError->setReadOnly(true);
    imgExpand = new QLabel(this);
    imgExpand->setObjectName(QStringLiteral("imgExpand"));
    imgExpand->setPixmap(arrowPicture(true));
    imgExpand->hide();
    imgContract = new QLabel(this);
    imgContract->setObjectName(QStringLiteral("imgContract"));
    imgContract->setPixmap(arrowPicture(false));
    imgContract->hide();
    cmdArrows = vb::makeButton(this, "cmdArrows", QString());
    cmdArrows->setIcon(imgExpand->pixmap());
    cmdArrows->setToolTip(QStringLiteral("Enlarge or restore the error panel"));

    vsFGImport = new VSFlexGrid(this);
    vsFGImport->setObjectName(QStringLiteral("vsFGImport"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    connect(cmdGenerateTemplate, &QPushButton::clicked, this, [this] { guarded([this] { cmdGenerateTemplate_Click(); }); });
    connect(cmdImportFile, &QPushButton::clicked, this, [this] { guarded([this] { cmdImportFile_Click(); }); });
    connect(cmdBrowseData, &QPushButton::clicked, this, [this] { guarded([this] { cmdBrowseData_Click(); }); });
    connect(cmdLoadTemplateToGrid, &QPushButton::clicked, this, [this] { guarded([this] { cmdLoadTemplateToGrid_Click(); }); });
    connect(cmdLoadDataFromGrid, &QPushButton::clicked, this, [this] { guarded([this] { cmdLoadDataFromGrid_Click(); }); });
    connect(cmdValidate, &QPushButton::clicked, this, [this] { guarded([this] { cmdValidate_Click(); }); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { guarded([this] { cmdLoad_Click(); }); });
    connect(cmdArrows, &QPushButton::clicked, this, [this] { cmdArrows_Click(); });
    connect(vsFGImport, &VSFlexGrid::CellChanged, this, &frmImportMeasurements::vsFGImport_ValidateCell);
    // A click moves the current row before it selects it: the error shows once the row is selected.
    connect(vsFGImport, &VSFlexGrid::SelChange, this, &frmImportMeasurements::vsFGImport_ShowRowError);
    connect(vsFGImport->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmImportMeasurements::vsFGImport_ShowRowError);

    resize(vb::TwipsToPixelsX(16800, this), vb::TwipsToPixelsY(12600, this));
}

frmImportMeasurements::~frmImportMeasurements() = default;

// --- load, layout, close -----------------------------------------------------------------------

void frmImportMeasurements::Form_Load()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());
    {
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from application"), dao::dbOpenSnapshot);
        txtImportFileName->setText(rs->Eof() ? QString() : vb::CStr(rs->Fields(QStringLiteral("ImportFileName")).Value()));
        rs->Close();
    }
    {
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from Person"), dao::dbOpenSnapshot);
        modHealth::FillPersonListAndSelect(cboPerson, *rs);
        rs->Close();
    }
    connect(cboPerson, &QComboBox::currentIndexChanged, this, [this] { cboPerson_Click(); });

    FormatGrid();

    cboValidate->addItems({QStringLiteral("(none)"), QStringLiteral("Passed Validation"), QStringLiteral("Failed Validation"),
                           QStringLiteral("Failed Validation - Date Field")});
    cboLoad->addItems({QStringLiteral("(none)"), QStringLiteral("Loaded - New Rows"), QStringLiteral("Loaded - Updated Rows"),
                       QStringLiteral("Not Loaded")});
    cboValidate->setCurrentIndex(0);
    cboLoad->setCurrentIndex(0);
    frmeValidate->hide();
    frmeLoad->hide();
    vb::keepWithinScreen(*this);
}

void frmImportMeasurements::FormatGrid()
{
    QString tempLbl, temp1Lbl, tempUnit, temp1Unit, temp2Unit;
    {
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
        if (!rs->Eof()) {
            auto text = [&rs](const char* name) { return vb::CStr(rs->Fields(QLatin1String(name)).Value()); };
            tempLbl = text("TempLBL");
            temp1Lbl = text("Temp1LBL");
            tempUnit = text("TempUnit");
            temp1Unit = text("Temp1Unit");
            temp2Unit = text("Temp2Unit");
        }
        rs->Close();
    }
    VSFlexGrid& g = *vsFGImport;
    g.setRows(1);
    g.setFixedRows(1);
    g.setFixedCols(1);
    // The labels and units are the user's: set as texts, not as part of the format string.
    using captions::unitHeading;
    captions::setHeadings(g, {{},
                              {QStringLiteral("Line no")},
                              {QStringLiteral("Date(mm/dd/yy hh:mm AM/PM)")},
                              {QStringLiteral("High BP")},
                              {QStringLiteral("Low BP")},
                              {QStringLiteral("Pulse (/min)")},
                              {unitHeading(QStringLiteral("Weight"), gWeightUnitText)},
                              {unitHeading(tempLbl, tempUnit)},
                              {unitHeading(temp1Lbl, temp1Unit)},
                              {QStringLiteral("Sugar(") + temp2Unit + QStringLiteral(")"), true},
                              {QStringLiteral("Sugar Goal Name"), true},
                              {QStringLiteral("Regimen")},
                              {QStringLiteral("Mood")},
                              {QStringLiteral("Comment")},
                              {QStringLiteral("rgmn_ky")},
                              {QStringLiteral("md_ky")},
                              {QStringLiteral("DBgl_ky")}});
    g.setRowHeight(0, 500);
    static constexpr int widths[colCount] = {600, 0, 1500, 700, 750, 950, 800, 800, 800, 1070, 2000, 1200, 1200, 3000, 0, 0, 0};
    for (int c = 0; c < colCount; ++c)
        g.setColWidth(c, widths[c]);
    for (int c : {int(colError), int(colRegimenKey), int(colMoodKey), int(colGoalKey)})
        g.setColHidden(c, true);
    // Blood pressures and the mood read from the left, as they are typed.
    for (int c : {int(colHighBP), int(colLowBP), int(colMood)})
        g.setColAlignment(c, flexAlignLeftCenter);
    // The designed widths were made for a smaller font: a column too narrow for the longest word
    // of its header, or the date column for a whole date and time, is widened.
    const QFontMetrics metrics(g.font());
    const int padding = 12;
    for (int c = colDate; c < colCount; ++c) {
        if (g.ColHidden(c) || g.ColWidth(c) == 0)
            continue;
        int pixels = 0;
        for (const QString& word : g.TextMatrix(0, c).split(u' ', Qt::SkipEmptyParts))
            pixels = std::max(pixels, metrics.horizontalAdvance(word));
        if (c == colDate)
            pixels = std::max(pixels, metrics.horizontalAdvance(QStringLiteral("12/31/2031 12:00 AM")));
        g.setColWidth(c, std::max(g.ColWidth(c), int(vb::PixelsToTwipsX(pixels + padding, &g) + 0.5)));
    }
    modHealth::LoadGridColumnWidths(g);
    captions::fitHeadings(g, {colWeight, colCustom1, colCustom2, colSugar});
}

std::vector<QWidget*> frmImportMeasurements::panelControls() const
{
    return {fraTop,
            lblPerson,
            cboPerson,
            fraTemplate,
            cmdGenerateTemplate,
            fraFile,
            lblFile,
            txtImportFileName,
            cmdImportFile,
            fraBrowse,
            cmdBrowseData,
            optBrowse[0],
            optBrowse[1],
            cmdLoadTemplateToGrid,
            cmdLoadDataFromGrid,
            frmeValidate,
            frmeLoad,
            lblStep[0],
            lblStep[1],
            lblStep[2],
            lblStep[3]};
}

void frmImportMeasurements::cmdArrows_Click()
{
    expanded_ = !expanded_;
    cmdArrows->setIcon(expanded_ ? imgContract->pixmap() : imgExpand->pixmap());
    for (QWidget* w : panelControls())
        w->setVisible(!expanded_);
    placeErrorPanel(expanded_ ? kErrorTopExpanded : kErrorTopRestored);
}

void frmImportMeasurements::placeErrorPanel(int errorTop)
{
    const int margin = vb::TwipsToPixelsX(kMargin, this);
    const int top = vb::TwipsToPixelsY(errorTop, this);
    const int height = vb::TwipsToPixelsY(kErrorHeight, this);
    const int buttonSize = vb::TwipsToPixelsX(kArrowsSize, this);
    const int innerWidth = width();
    const int left = margin;
    StatusBar1->setGeometry(0, this->height() - StatusBar1->sizeHint().height(), innerWidth, StatusBar1->sizeHint().height());
    const int buttonLeft = innerWidth - buttonSize - margin;
    const int errorWidth = innerWidth - left - buttonSize - margin - vb::TwipsToPixelsX(100, this);
    if (errorWidth <= 0)
        return; // too small a window keeps its controls as they were
    txtError->setGeometry(left, top, errorWidth, height);
    cmdArrows->setGeometry(buttonLeft, top + (height - buttonSize) / 2, buttonSize, buttonSize);
    const int gridTop = top + height + vb::TwipsToPixelsY(kMargin, this);
    const int gridHeight = this->height() - (StatusBar1->height() + gridTop);
    if (gridHeight > 0)
        vsFGImport->setGeometry(left, gridTop, innerWidth - left - margin, gridHeight);
    fraTop->setGeometry(left, vb::TwipsToPixelsY(kErrorTopExpanded, this), innerWidth - 2 * margin,
                        vb::TwipsToPixelsY(kErrorTopRestored - kErrorTopExpanded - 60, this));
}

void frmImportMeasurements::Form_Resize() { placeErrorPanel(expanded_ ? kErrorTopExpanded : kErrorTopRestored); }

int frmImportMeasurements::storedNameSize() const
{
    int size = 30;
    try {
        const dao::TableDef table = gDB->TableDefs(QStringLiteral("APPLICATION"));
        for (const dao::Field& f : table.Fields())
            if (f.Name().compare(QLatin1String("ImportFileName"), Qt::CaseInsensitive) == 0)
                size = f.Size();
    } catch (const std::exception&) {
        // The column's usual length.
    }
    return size;
}

bool frmImportMeasurements::tellIfNotRemembered(const QString& name)
{
    const int size = storedNameSize();
    const QString trimmed = name.trimmed();
    if (vb::fitsLength(trimmed, size))
        return true;
    if (trimmed != toldTooLong_) {
        toldTooLong_ = trimmed;
        vb::MsgBox(
            QStringLiteral("The file name is longer than %1 characters; it is not remembered for the next time:").arg(size) +
                kCrLf + u'"' + name + u'"',
            vb::vbInformation);
    }
    return false;
}

void frmImportMeasurements::Form_QueryUnload(int& cancel, int unloadMode)
{
    // A load or a write is not left half done; the user's close is kept for its end.
    if (running_ > 0) {
        cancel = 1;
        closeAsked_ = closeAsked_ || unloadMode == vb::vbFormControlMenu;
    }
}

void frmImportMeasurements::Form_Unload(int&)
{
    const QString name = txtImportFileName->text().trimmed();
    // A name typed into the box is told about now, one chosen in the dialog was told already.
    if (!tellIfNotRemembered(name))
        return;
    try {
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from application"), dao::dbOpenDynaset);
        if (rs->Eof())
            return;
        rs->Edit();
        rs->Fields(QStringLiteral("ImportFileName")).setValue(name.isEmpty() ? QVariant() : QVariant(name));
        rs->Update();
        rs->Close();
    } catch (const std::exception&) {
        // The window closes all the same; the name is not remembered.
    }
}

void frmImportMeasurements::cboPerson_Click()
{
    if (cboPerson->currentIndex() >= 0)
        gPersonKey = cboPerson->currentData().toInt();
}

// --- the file ------------------------------------------------------------------------------------

void frmImportMeasurements::cmdGenerateTemplate_Click()
{
    const QString path = QDir(App::Path()).filePath(QStringLiteral("TempQJImport.csv"));
    chosenPath_ = path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(TemplateLine()) != TemplateLine().size()) {
        vb::MsgBox(QStringLiteral("The template could not be written:") + kCrLf + u'"' + path + u'"' + kCrLf + file.errorString(),
                   vb::vbCritical);
        return;
    }
    file.close();
    services::Current().shell->OpenFile(path);
    txtImportFileName->setText(path);
    tellIfNotRemembered(path);
}

void frmImportMeasurements::cmdImportFile_Click()
{
    const QString named = txtImportFileName->text().trimmed();
    QString start = !named.isEmpty() && QFileInfo::exists(named) ? named : QDir(App::Path()).filePath(QStringLiteral("User"));
    services::FileDialogRequest request;
    const QFileInfo info(start);
    if (info.isFile()) {
        request.initialFolder = info.absolutePath();
        request.fileName = info.fileName();
    } else {
        QDir().mkpath(start);
        request.initialFolder = start;
    }
    request.filter = QStringLiteral("Comma Seperated Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    request.defaultExtension = QStringLiteral(".csv");
    const std::optional<QString> chosen = services::Current().fileDialogs->OpenFile(request);
    if (!chosen)
        return;
    txtImportFileName->setText(*chosen);
    chosenPath_ = *chosen;
    tellIfNotRemembered(*chosen);
}

void frmImportMeasurements::showMessageOfFile(const QString& name)
{
    vb::MsgBox(QStringLiteral("There is no file with the name:") + kCrLf + u'"' + name + u'"' + kCrLf +
                   QStringLiteral("Please import the right file or generate from the template."),
               vb::vbInformation);
}

void frmImportMeasurements::cmdBrowseData_Click()
{
    const QString name = txtImportFileName->text().trimmed();
    QFile file(name);
    if (name.isEmpty() || !QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        showMessageOfFile(name);
        return;
    }
    file.close();
    services::ShellService& shell = *services::Current().shell;
    if (optBrowse[0]->isChecked())
        shell.OpenTextFile(name);
    else if (optBrowse[1]->isChecked())
        shell.OpenFile(name);
}

// --- the load ------------------------------------------------------------------------------------

void frmImportMeasurements::clearGrid(int lines)
{
    // Every load starts from an empty grid: nothing of an earlier file (texts, keys, marks,
    // hidden rows) stays behind to be written. The grid grows ten rows at a time.
    VSFlexGrid& g = *vsFGImport;
    g.setRows(1);
    g.setRows(1 + (lines + 9) / 10 * 10);
}

void frmImportMeasurements::refuseLoad(const QString& why)
{
    clearGrid(0);
    vsFGImport->setRedraw(true);
    txtError->clear();
    frmeValidate->hide();
    frmeLoad->hide();
    StatusBar1->showMessage(QStringLiteral("The file was not loaded"));
    vb::MsgBox(why + kCrLf + QStringLiteral("Nothing was loaded."), vb::vbExclamation);
}

bool frmImportMeasurements::timeToRespond() { return inputDrop_ && inputDrop_->due(messagePace_); }

void frmImportMeasurements::respond()
{
    // The grid, left undrawn while rows arrive, is drawn as far as it has come.
    VSFlexGrid& g = *vsFGImport;
    const bool redraw = g.Redraw();
    g.setRedraw(true);
    vb::UserInputDrop::letOtherMessagesRun();
    g.setRedraw(redraw);
}

void frmImportMeasurements::cmdLoadTemplateToGrid_Click()
{
    const CloseWaits closeWaits(*this);
    vb::BusyCursor busy;
    if (written_) {
        const int answer = vb::MsgBox(QStringLiteral("The data has recently been loaded,") + kCrLf +
                                          QStringLiteral(" do you like to prepare for the load agian?"),
                                      vb::vbYesNo | vb::vbInformation | vb::vbDefaultButton2);
        if (answer != vb::vbYes)
            return;
    }
    const QString path = txtImportFileName->text().trimmed();
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        showMessageOfFile(path);
        return;
    }
    std::optional<FileShape> shape;
    std::optional<QString> refusal;
    qint32 counter = 0;
    {
        const Work work(*this);
        // The file is read twice rather than held: once to count its lines, once to load them.
        shape = ScanFile(file, [this](qint64 lines) {
            if (timeToRespond()) {
                StatusBar1->showMessage(QStringLiteral("Counting lines ") + QString::number(lines));
                respond();
            }
        });
        if (shape && shape->fault.isEmpty() && shape->lines <= maxLines_)
            refusal = loadLines(file, *shape, path, counter);
    }
    if (!shape) {
        StatusBar1->clearMessage();
        showMessageOfFile(path);
        return;
    }
    if (!shape->fault.isEmpty()) {
        refuseLoad(shape->fault);
        return;
    }
    if (shape->lines > maxLines_) {
        refuseLoad(QStringLiteral("The file has %1 lines; at most %2 lines can be loaded at a time. Please split the file.")
                       .arg(shape->lines)
                       .arg(maxLines_));
        return;
    }
    if (refusal) {
        refuseLoad(*refusal);
        return;
    }
    file.close();
    StatusBar1->showMessage(QStringLiteral("Loaded lines ") + QString::number(counter));
    frmeValidate->show();
    frmeLoad->hide();
}

std::optional<QString> frmImportMeasurements::loadLines(QFile& file, const FileShape& shape, const QString& path, qint32& counter)
{
    txtError->clear();
    separator_ = QStringLiteral(",");
    names_.clear();
    VSFlexGrid& g = *vsFGImport;
    // A file is loaded whole or not at all: a load cut short would show, and write, part of it.
    try {
        g.setRedraw(false);
        clearGrid(int(shape.lines));
        const bool read = ReadLines(file, shape, [&](const QString& line) {
            ++counter;
            ParseLineToGrid(line, counter);
            StatusBar1->showMessage(QStringLiteral("Loading line ") + QString::number(counter));
            if (timeToRespond())
                respond();
        });
        if (!read || counter != shape.lines)
            return QStringLiteral("The file could not be read to its end:") + kCrLf + u'"' + path + u'"' + kCrLf +
                   file.errorString();
        MarkRowsWithoutMeasurements();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("There is not enough memory to load the whole file (%1 lines). Please split the file.")
            .arg(shape.lines);
    }
    g.setRedraw(true);
    return std::nullopt;
}

void frmImportMeasurements::ParseLineToGrid(const QString& line, qint32 lineNumber)
{
    VSFlexGrid& g = *vsFGImport;
    try {
        while (lineNumber >= g.Rows())
            g.setRows(g.Rows() + 10);
        const QStringList fields = SplitFields(line);
        for (int i = 0; i < fields.size(); ++i)
            g.setTextMatrix(lineNumber, colDate + i, fields[i]);
        g.setTextMatrix(lineNumber, colStatus, QString::number(lineNumber));
    } catch (const FlexGridError&) {
        // The rest of this line is left out. Any other failure (memory) ends the whole load.
    }
}

// --- validation ------------------------------------------------------------------------------------

std::optional<qint32> frmImportMeasurements::lookupName(int col, const QString& name)
{
    const auto cached = names_.find({col, name});
    if (cached != names_.end())
        return cached->second;
    QString sql;
    switch (col) {
    case colRegimen: sql = QStringLiteral("select rgmn_ky from regimen where rgmn_nm ="); break;
    case colMood: sql = QStringLiteral("select md_ky from mood where md_nm ="); break;
    default: sql = QStringLiteral("select gl_ky from dbts_goal where gl_nm ="); break;
    }
    std::optional<qint32> key;
    // Written as a text, not bound: the name then compares as stored names are kept apart, every
    // letter's case and either normal form alike ("CAFÉ" finds "Café").
    auto rs = gDB->OpenRecordset(sql + vb::SqlText(name), dao::dbOpenSnapshot, dao::dbReadOnly);
    if (!rs->Eof())
        key = vb::CLng(rs->Fields(0).Value());
    rs->Close();
    names_[{col, name}] = key;
    return key;
}

void frmImportMeasurements::appendRowError(int row, const QString& message)
{
    if (message.isEmpty())
        return;
    const QString errors = vsFGImport->TextMatrix(row, colError);
    // The number messages stand once in a row, however many cells fail.
    if ((message == MeasurementMessage() || message == RangeMessage()) && errors.contains(message))
        return;
    vsFGImport->setTextMatrix(row, colError, errors + message);
}

void frmImportMeasurements::vsFGImport_ValidateCell(int row, int col)
{
    if (row < 1)
        return;
    VSFlexGrid& g = *vsFGImport;
    const CellVerdict verdict =
        CheckCell(col, g.TextMatrix(row, col), [this](int c, const QString& name) { return lookupName(c, name); });
    if (verdict.key)
        g.setTextMatrix(row, KeyColumnOf(col), QString::number(*verdict.key));
    if (verdict.noted) {
        g.setCell(flexcpBackColor, row, col, NotedColor);
        appendRowError(row, verdict.message);
    }
    if (!verdict.failed)
        return;
    g.setCell(flexcpBackColor, row, col, RejectedColor);
    const QString notice = QStringLiteral("The row below with red cell has hard error and cannot be loaded.") +
                           QStringLiteral("Click on the row to see the error details.");
    txtError->setVisible(true);
    if (txtError->toPlainText() != notice)
        txtError->setPlainText(notice);
    g.setCell(flexcpBackColor, row, colStatus, RejectedColor);
    appendRowError(row, verdict.message);
}

QStringList frmImportMeasurements::rowCells(int row) const
{
    QStringList cells;
    for (int c = 0; c < colCount; ++c)
        cells << vsFGImport->TextMatrix(row, c);
    return cells;
}

void frmImportMeasurements::MarkRowsWithoutMeasurements()
{
    VSFlexGrid& g = *vsFGImport;
    for (int r = 1; r < g.Rows(); ++r) {
        if (timeToRespond())
            respond();
        if (backColor(g, r, colStatus) == RejectedColor || !DateOfText(g.TextMatrix(r, colDate)))
            continue;
        if (!HasNoMeasurements(rowCells(r)))
            continue;
        g.setCell(flexcpBackColor, r, colStatus, RejectedColor);
        g.setTextMatrix(r, colError, g.TextMatrix(r, colError) + NoMeasurementsMessage());
    }
}

void frmImportMeasurements::vsFGImport_ShowRowError()
{
    const QString none = QStringLiteral("No error on the selected row");
    QString text = none;
    VSFlexGrid& g = *vsFGImport;
    const int row = g.Row();
    if (row >= 1 && row < g.Rows() && g.IsSelected(row) && !g.TextMatrix(row, colStatus).isEmpty()) {
        const QString errors = g.TextMatrix(row, colError);
        text = errors.isEmpty() ? none : errors;
    }
    txtError->setPlainText(text);
}

// --- filters ---------------------------------------------------------------------------------------

void frmImportMeasurements::applyFilter(int filter)
{
    VSFlexGrid& g = *vsFGImport;
    // The header row is never hidden.
    for (int r = 1; r < g.Rows(); ++r)
        g.setRowHidden(r, HiddenByFilter(Filter(filter), backColor(g, r, colStatus), backColor(g, r, colDate)));
}

void frmImportMeasurements::cmdValidate_Click()
{
    static constexpr Filter filters[] = {Filter::None, Filter::Passed, Filter::Failed, Filter::FailedDate};
    const int i = cboValidate->currentIndex();
    applyFilter(int(i >= 0 && i < 4 ? filters[i] : Filter::None));
}

void frmImportMeasurements::cmdLoad_Click()
{
    static constexpr Filter filters[] = {Filter::None, Filter::LoadedNew, Filter::LoadedUpdated, Filter::NotLoaded};
    const int i = cboLoad->currentIndex();
    applyFilter(int(i >= 0 && i < 4 ? filters[i] : Filter::None));
}

// --- the write -------------------------------------------------------------------------------------

void frmImportMeasurements::cmdLoadDataFromGrid_Click()
{
    const CloseWaits closeWaits(*this);
    vb::BusyCursor busy;
    VSFlexGrid& g = *vsFGImport;
    const int rows = g.Rows();
    std::vector<int> gridRows;
    std::vector<Measurement> readings;
    qint32 rejected = 0;
    std::vector<bool> replaced;
    std::optional<QString> failure;
    {
        const Work work(*this);
        try {
            // Every row is gathered before anything is written: a row that cannot be gathered
            // stops the whole write rather than leaving the rest uncounted.
            for (int r = 1; r < rows; ++r) {
                if (timeToRespond()) {
                    StatusBar1->showMessage(QStringLiteral("Preparing row %1 of %2").arg(r).arg(rows - 1));
                    respond();
                }
                g.setRowHidden(r, false);
                if (g.TextMatrix(r, colStatus).isEmpty())
                    continue;
                if (backColor(g, r, colStatus) == RejectedColor) {
                    ++rejected;
                    continue;
                }
                const auto values = ValuesOfRow(rowCells(r));
                if (!values) {
                    ++rejected;
                    continue;
                }
                readings.push_back(*values);
                gridRows.push_back(r);
            }
            const QString total = QString::number(readings.size());
            StatusBar1->showMessage(QStringLiteral("Writing %1 rows ...").arg(total));
            replaced = MeasurementImport::WriteReadings(gPersonKey, readings, [&](std::size_t written) {
                const bool last = written == readings.size();
                if (last || timeToRespond()) {
                    StatusBar1->showMessage(QStringLiteral("Written %1 of %2 rows").arg(written).arg(total) +
                                            (last ? QStringLiteral("; updating the averages ...") : QString()));
                    respond();
                }
            });
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (failure) {
        StatusBar1->clearMessage();
        vb::MsgBox(QStringLiteral("The data could not be loaded; nothing was written.") + kCrLf + *failure, vb::vbCritical);
        return;
    }
    qint32 inserted = 0, updated = 0;
    for (std::size_t i = 0; i < gridRows.size(); ++i) {
        g.setCell(flexcpBackColor, gridRows[i], colStatus, replaced[i] ? UpdatedColor : InsertedColor);
        ++(replaced[i] ? updated : inserted);
    }
    const int current = g.Row();
    if (current >= 1 && current < rows && g.IsSelected(current) && !g.TextMatrix(current, colStatus).isEmpty())
        txtError->setPlainText(g.TextMatrix(current, colError));
    StatusBar1->showMessage(QString::number(inserted) + QStringLiteral(" rows inserted (shown green). ") +
                            QString::number(updated) + QStringLiteral(" rows updated. (shown yellow)"));
    vb::MsgBox(QStringLiteral(" Data load is successfull. The statistics are as follows:") + kCrLf +
                   QStringLiteral("      Rows loaded (shown in green):") + QString::number(inserted) + kCrLf +
                   QStringLiteral("      Rows updated (shown in yellow):") + QString::number(updated) + kCrLf +
                   QStringLiteral("      Rows rejected (shown in red):") + QString::number(rejected),
               vb::vbOKOnly);
    written_ = true;
    frmeValidate->hide();
    frmeLoad->show();
}
