#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <memory>

#include "base/Clock.h"
#include "base/ErrorVariables.h"
#include "base/Grid.h"
#include "form/Controls.h"
#include "form/ErrorReporter.h"
#include "form/Operator.h"
#include "import/InsertPass.h"
#include "mapping/ColumnDiscovery.h"
#include "validation/VerifyPass.h"

class CompanyDirectory;
class Connection;
class DbConnection;
class SheetConnection;

// The main window MINSERT without its widgets: every control as plain state
// named as the control, the state the commands share, and the handlers.
// The Qt window shows it and forwards events; the command line and the
// tests drive it directly.
class Minsert {
public:
    Minsert(Operator& op, QString home, Clock clock = SystemClock());
    ~Minsert();
    Minsert(const Minsert&) = delete;
    Minsert& operator=(const Minsert&) = delete;

    // ---- Indexes of the control arrays, by what each control holds ----
    // TxtField
    static constexpr int kServerName = 0;
    static constexpr int kDatabaseName = 1;
    static constexpr int kUserId = 2;
    static constexpr int kPassword = 3;
    static constexpr int kWorkbookPath = 4;
    static constexpr int kMatchName = 5;     // match file name, no folder or extension
    static constexpr int kWorkbookName = 6;  // workbook file name without extension
    static constexpr int kTotalLines = 7;
    static constexpr int kOkLines = 8;
    static constexpr int kErrorLines = 9;
    // SC
    static constexpr int kCompanyList = 0;
    static constexpr int kMappingGrid = 1;
    static constexpr int kResultGrid = 2;  // one row per rejected sheet row
    static constexpr int kMustDefaultList = 3;
    static constexpr int kMustFillList = 4;
    // LCombo, and List1 behind the table list
    static constexpr int kSheetList = 0;
    static constexpr int kTableList = 1;
    static constexpr int kTableNames = 0;
    // CSearch: the "..." buttons
    static constexpr int kBrowseWorkbook = 0;
    static constexpr int kBrowseMatch = 1;
    static constexpr int kBrowseSqlite = 2;
    // Frame1 and the captions of Label1 that stand alone
    static constexpr int kDatabaseFrame = 0;
    static constexpr int kCompanyFrame = 1;
    static constexpr int kMatchTableLabel = 0;
    static constexpr int kDatabaseNameLabel = 2;
    static constexpr int kWorkbookPathLabel = 5;
    static constexpr int kSheetLabel = 6;
    static constexpr int kMatchNameLabel = 7;

    // ---- Controls, from the banner down, as the window lays them out ----
    QString Caption = "Utility - Insert Excel Data to TILL Database";
    Label Frame3{""};
    Label Label7{"Utility"};
    Label Label12{"Utility - Insert Excel Data to TILL Database"};
    TextBox Text1{.visible = false};
    std::array<Label, 2> Frame1{Label{"Database Details"},
                                Label{"Company List (Double Click to Show Details)"}};
    std::array<Label, 8> Label1{Label{"Match Table"},      Label{"Server Name"},
                                Label{"Database Name"},    Label{"User ID"},
                                Label{"Password"},         Label{"Excel File Path"},
                                Label{"Excel Sheet Name"}, Label{"Match File Name"}};
    static constexpr int kDatabaseNameLength = 100;
    std::array<TextBox, 10> TxtField{TextBox{.maxLength = 100},
                                     TextBox{.maxLength = kDatabaseNameLength},
                                     TextBox{.maxLength = 10},
                                     TextBox{.maxLength = 10, .password = true},
                                     TextBox{},
                                     TextBox{},
                                     TextBox{.visible = false},
                                     TextBox{.maxLength = 10, .locked = true},
                                     TextBox{.locked = true},
                                     TextBox{.locked = true}};
    // Which engine the database details name: the company's SQL Server, a
    // PostgreSQL server, or an SQLite file whose path is the database name
    // (CSearch(2) browses for it).
    Label LblDriver{"Driver"};
    static constexpr int kSqlServerDriver = 0;
    static constexpr int kPostgreSqlDriver = 1;
    static constexpr int kSqliteDriver = 2;
    ListControl CboDriver{{"SQL Server", "PostgreSQL", "SQLite file"}, kSqlServerDriver};
    Button CConnect{"C&onnect"};
    // Shown exactly while SqlConnection is open: see Connected().
    Label LblStatus{"Connected", false};
    Label Frame2{"Excel Details"};
    std::array<Button, 3> CSearch{Button{"..."}, Button{"..."}, Button{"...", true, false}};
    std::array<ListControl, 2> LCombo;
    std::array<Label, 3> Label4{Label{"Total Line "}, Label{"Total OK Line "},
                                Label{"Total Error Line "}};
    std::array<Swatch, 5> Shape1{Swatch{0xC0C0FF}, Swatch{0xC0E0FF}, Swatch{0xC0FFFF},
                                 Swatch{0xFFC0FF}, Swatch{0xFFE0C0}};
    std::array<Label, 5> Label2{Label{"Blank or Null Value"}, Label{"Over Max Length"},
                                Label{"Cannot Accept Space/'/\"/#"}, Label{"Duplicate Value"},
                                Label{"Not A Valid Value"}};
    Label Label5{"*** All excel and ini file must put it at ...\\EXCEL\\"};
    Button CSave{"Save"};
    Label LblProgress{""};
    Button CVerify{"Ve&rify", false};
    Button CStart{"&Start", false};
    Button CClose{"&Close"};
    Label StatusBar1{"Version - 20140704"};
    // What the last Start wrote and the verdict files of its Verify.
    Label LblResult{""};
    // Hidden state controls.
    Label HideFrame{"Hide Frame", false};
    TextBox TABLENAME;
    std::array<TextBox, 3> PRIMARYFIELD{TextBox{.maxLength = 100}, TextBox{.maxLength = 100},
                                        TextBox{.maxLength = 100}};
    std::array<ListControl, 1> List1;
    std::array<Label, 4> Label3{Label{"TABLENAME"}, Label{"PRIMARYFIELD(0)"},
                                Label{"PRIMARYFIELD(1)"}, Label{"PRIMARYFIELD(2)"}};
    // SC(0) company list, SC(1) mapping, SC(2) verify results, SC(3) and
    // SC(4) the hidden rule lists (no row-header column).
    std::array<std::unique_ptr<Grid>, 5> SC;

    // ---- Shared state ----
    std::unique_ptr<DbConnection> SqlConnection;
    std::unique_ptr<CompanyDirectory> CompanyConnection;
    std::unique_ptr<Connection> ExcelConnection;
    ErrorVariables Err;

    // Prepared by one command for the next.
    QString SheetSelectListBom;
    QString SheetSelectList;
    QString TargetSelectList;
    QVector<int> MaxLength;
    QString UsedFieldList;
    QString BlankFillFields;
    QString DefaultFieldList;
    int DefaultFieldCount = 0;
    // What the operator was told when the match file last applied did not
    // fit the sheet's columns; empty when it fit.
    QString MatchMisfit;
    // What the operator was told when the match file named was not applied
    // (no such file, a name that leaves EXCEL, a table not in the
    // catalogue); empty when it was, or when no name is given.
    QString MatchNotApplied;
    // What the last verify pass found.
    VerifyTotals VerifyResult;
    // What the last insert pass wrote, and the record it was stopped at
    // (0 when it ran to the end).
    InsertCounts InsertTotals;
    int InsertStoppedAt = 0;
    // Why the last Start went record by record rather than as a set; empty when it did not.
    QString InsertNote;
    // Start writes the sheet as a set where it can; false writes it one
    // record at a time, the reference the set is held to.
    bool WriteSheetAsSet = true;
    // The workbooks used before, the last first, offered as the path is typed.
    QStringList RecentWorkbooks;
    // How often a pass reports its progress; 0 reports every record.
    int ProgressIntervalMs = 200;
    // Seconds the database server is given to answer a statement and to
    // grant a lock; 0 takes Timeout of section CONNECTION in GSETUP.ini,
    // or 60 where that sets none.
    int StatementTimeout = 0;

    // True once the window has been unloaded.
    bool Unloaded = false;

    // ---- Handlers ----
    void Form_Load();
    void Form_Unload();
    void TxtField_Validate(int index);
    void CConnect_Click();
    // The engine chosen: an SQLite file is browsed for with CSearch(2) and
    // needs no server, user or password.
    void CboDriver_Click();
    void CSearch_Click(int index);
    void CSave_Click();
    void CVerify_Click();
    void CStart_Click();
    // While Verify or Start runs: asks whether to stop it, between records.
    void CClose_Click();
    void SC_DblClick(int index);
    void LCombo_Click(int index);
    void SC_AfterEdit(int index);
    // The grid's event before a cell's editor opens.
    void SC_BeforeEdit(int index, int row, int col);

    // ---- Procedures ----
    void CheckExistFolder();
    void LoadLCombo();
    void ConnectDSN();
    // Opens SqlConnection on a target ("sqlite:PATH", "odbc:STRING") under
    // ConnectDSN's handler: the command line names targets directly.
    void ConnectTarget(const QString& target);
    void ConnectCompDSN();
    void View_Data(int index);
    void GetExcelSheet();
    void ConnectExcelDSN();
    void LoadFieldList(ColumnListing listing);
    void GetColumnList();
    void LoadHeader(int index);
    void MatchExcelName();
    void LoadMustDoList();
    void HideDuplicateMustFillField();
    void HideDuplicateMustDefaultField();
    // True when at least one sheet row was rejected.
    bool VerifyData();
    // Why a reference code the table's defaults take from GSETUP.ini cannot
    // go into its column, or empty: checked before any row is read.
    QString SetupDefaultProblem();
    void InsertData();

    // ---- What the operator does by hand, as calls (command line, bench, tests) ----
    // Types the workbook's path and leaves the box.
    void ChooseWorkbook(const QString& path);
    // Chooses the sheet of that name; false when the workbook has none.
    bool ChooseSheet(const QString& name);
    // Chooses a catalogue table by its name (MT_ITEM) or its label ([Ver 8.0] Item).
    bool ChooseTable(const QString& nameOrLabel);
    // Maps the first sheet column of that name to a TILL field of the
    // table, blanks around either name aside (an empty field unmaps it).
    // Answers why it cannot, naming the column or field, or empty when
    // mapped; the mapping is unchanged then.
    QString MapColumn(const QString& excelField, const QString& tillField);
    // Double-clicks the company of that code in the company list; false when
    // the list has none.
    bool PickCompany(const QString& code);

    // Sets LblProgress and shows it at once, while a pass keeps the thread.
    void ShowProgress(const QString& text);
    // Start writes only what the current Verify checked: any change of the
    // workbook, sheet, table, mapping or match file disables it until the
    // next Verify.
    void DisableStartUntilVerify() { CStart.enabled = false; }
    // What Verify and Start showed belongs to the workbook, sheet, table
    // and database they ran on: a change of any of them clears it.
    void ClearResults();

    // Whether Verify or Start is running: the window then takes only a
    // request to stop it.
    bool PassRunning() const { return !runningPass_.isEmpty(); }
    // Stops the running pass before its next record; what it wrote stays.
    void StopPass() { stopRequested_ = PassRunning(); }

    // Whether the target database is connected, as LblStatus shows it.
    bool Connected() const { return LblStatus.visible; }
    const QString& Home() const { return home_; }
    Operator& Op() { return op_; }
    ErrorReporter& Reporter() { return reporter_; }

private:
    // Thrown by the verify pass's progress when the operator stopped it.
    struct PassStopped {
        int position;
        int count;
    };
    // Marks the pass named (the question CClose asks) as running while it lives.
    class RunningPass {
    public:
        RunningPass(Minsert& form, QString stopQuestion);
        ~RunningPass();
        RunningPass(const RunningPass&) = delete;
        RunningPass& operator=(const RunningPass&) = delete;

    private:
        Minsert& form_;
    };
    // The results line after Start: counts and the verdict files.
    QString ResultText() const;

    // The target the database details name; refuses values a driver
    // cannot take.
    QString DsnTarget() const;
    int StatementTimeoutSeconds() const;
    // The TILL fields the drop-down offers for a table, in its spelling;
    // empty while no database is connected or for no table.
    QStringList TillFields(const QString& table);
    void ConnectWith(const std::function<QString()>& target);
    // Runs body under the error handler named procName.
    template <class Body>
    bool Handle(const char* procName, Body&& body, const std::function<void()>& after = {}) {
        return reporter_.Guard("MINSERT", procName, std::forward<Body>(body), after);
    }

    Operator& op_;
    QString home_;
    ErrorReporter reporter_;
    // The workbook opened to list its sheets, taken over when a sheet is
    // chosen while its file is unchanged, instead of being read again.
    std::unique_ptr<SheetConnection> listedWorkbook_;
    // The question that stops the running pass; empty when none runs.
    QString runningPass_;
    bool stopRequested_ = false;
};
