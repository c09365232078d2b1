#pragma once
// The import of measurements from a comma-separated text file, shown modally by the main window:
// a template to fill, the file chosen and loaded into a preview grid where every cell is checked
// (failing cells and their rows red, the row's errors shown when it is chosen, filters by
// verdict), and the accepted rows written for the chosen person in one go.
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QWidget;
class VSFlexGrid;
class QFile;
namespace MeasurementImportFile {
struct FileShape;
}
namespace vb {
class UserInputDrop;
}

class frmImportMeasurements : public vb::Form {
    Q_OBJECT
public:
    frmImportMeasurements();
    ~frmImportMeasurements() override;

    // Handlers.
    void cmdGenerateTemplate_Click();
    void cmdImportFile_Click();
    void cmdBrowseData_Click();
    void cmdLoadTemplateToGrid_Click();
    void cmdLoadDataFromGrid_Click();
    void cmdValidate_Click();
    void cmdLoad_Click();
    void cmdArrows_Click();
    void cboPerson_Click();
    void vsFGImport_ValidateCell(int row, int col);
    void vsFGImport_ShowRowError();

    // Procedures.
    void FormatGrid();
    void ParseLineToGrid(const QString& line, qint32 lineNumber);
    void MarkRowsWithoutMeasurements();

    // The chosen file path (set by the template button and the file dialog) and the state flags.
    QString ChosenPath() const { return chosenPath_; }
    bool Written() const { return written_; }
    bool Expanded() const { return expanded_; }
    // The most lines a file may have to be loaded (the grid's rows hold at most this many); a
    // test may lower it.
    void setMaxLines(qint64 lines) { maxLines_ = lines; }
    // How often, in milliseconds, a long load or write lets the window's messages run (its
    // painting and status); a test may make it 0, at every row.
    void setMessagePace(int milliseconds) { messagePace_ = milliseconds; }

    QLabel* lblPerson;
    QComboBox* cboPerson;
    std::array<QLabel*, 4> lblStep{};
    QGroupBox* fraTemplate;
    QPushButton* cmdGenerateTemplate;
    QGroupBox* fraFile;
    QLabel* lblFile;
    QLineEdit* txtImportFileName;
    QPushButton* cmdImportFile;
    QGroupBox* fraBrowse;
    QPushButton* cmdBrowseData;
    std::array<QRadioButton*, 2> optBrowse{};
    QPushButton* cmdLoadTemplateToGrid;
    QPushButton* cmdLoadDataFromGrid;
    QGroupBox* frmeValidate;
    QComboBox* cboValidate;
    QPushButton* cmdValidate;
    QGroupBox* frmeLoad;
    QComboBox* cboLoad;
    QPushButton* cmdLoad;
    QPlainTextEdit* txtError;
    QPushButton* cmdArrows;
    QLabel* imgExpand;
    QLabel* imgContract;
    QStatusBar* StatusBar1;
    VSFlexGrid* vsFGImport;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    // A long load or write, for its length (see Work in the source).
    class Work;
    // A load or write handler, for its length: a close asked meanwhile waits for its end.
    class CloseWaits;
    // During such work: whether it is time to let the window's messages run, and letting them.
    bool timeToRespond();
    void respond();
    // Puts the file's lines into the emptied grid; why the file was not loaded, if it was not.
    std::optional<QString> loadLines(QFile& file, const MeasurementImportFile::FileShape& shape, const QString& path,
                                     qint32& counter);
    // The controls hidden while the error panel is expanded.
    std::vector<QWidget*> panelControls() const;
    // Places the error box, its button and the grid for the error box's top (twips).
    void placeErrorPanel(int errorTop);
    QStringList rowCells(int row) const;
    void appendRowError(int row, const QString& message);
    std::optional<qint32> lookupName(int col, const QString& name);
    void showMessageOfFile(const QString& name);
    void applyFilter(int filter);
    void clearGrid(int lines);
    // Empties the grid and says why the file was not loaded.
    void refuseLoad(const QString& why);
    // The length of the stored file name's column.
    int storedNameSize() const;
    // Whether the file's name fits to be remembered; when it does not, tells so, once for each name.
    bool tellIfNotRemembered(const QString& name);

    QWidget* fraTop;
    QString chosenPath_;
    QString separator_;
    bool written_ = false;
    bool expanded_ = false;
    qint64 maxLines_;
    QString toldTooLong_;
    std::unique_ptr<vb::UserInputDrop> inputDrop_; // while a long load or write runs
    int running_ = 0;                              // load or write handlers under way
    bool closeAsked_ = false;                      // the user closed the window while one ran
    int messagePace_ = 100;
    // Names looked up during one load: the file repeats a few names on many rows.
    std::map<std::pair<int, QString>, std::optional<qint32>> names_;
};
