// The main window. It owns every control and the one-second clock; the settings database keeps
// their state across runs. Each handler reads the controls and the tables anew and keeps
// nothing of its own. The handlers are spread over the subsystem folders:
//   app/      construction, exit and the start-up restore (Form_Initialize)
//   pairs/    folder browsing and pair filling, locking a pair
//   copy/     the copy command of each pair and the copy run
//   schedule/ the automatic mode: switch and stop, activation, clock and trigger
//   dialogs/  the add-folder dialog, the About window and the Help entries
// Setting a check box from code runs its click handler at once, and a change of the clock
// label's caption runs the trigger at once; several handlers rely on that nesting.
#pragma once

#include "frmselectcontrols.h"
#include "platform.h"

#include <QMainWindow>
#include <QPointer>

class frmAbout;
class frmAddDir;
class frmXcopyNotify;

class frmSelect final : public QMainWindow
{
    Q_OBJECT
  public:
    explicit frmSelect(const Platform &platform, QWidget *parent = nullptr);
    ~frmSelect() override;

    // Start-up restore
    void Form_Initialize();

    // Folder browsing and pair filling
    void Drive1_Change() { driveChange(Side::From); }
    void Drive2_Change() { driveChange(Side::To); }
    void Dir1_Change() { dirChange(Side::From); }
    void Dir2_Change() { dirChange(Side::To); }

    // Locking a pair
    void Check1_Click() { lockClick(1); }
    void Check2_Click() { lockClick(2); }
    void Check3_Click() { lockClick(3); }
    void Check4_Click() { lockClick(4); }
    void Check5_Click() { lockClick(5); }
    void Check6_Click() { lockClick(6); }
    void Check7_Click() { lockClick(7); }

    // The copy command of each pair, and the copy run
    void Main() { startCopy(1); }
    void Main2() { startCopy(2); }
    void Main3() { startCopy(3); }
    void Main4() { startCopy(4); }
    void Main5() { startCopy(5); }
    void Main6() { startCopy(6); }
    void Main7() { startCopy(7); }
    void Command1_Click();
    void mnuSync_Click() { Command1_Click(); }

    // The automatic mode
    void ckUseTimer_Click();
    void CkStopAutoSync_Click();
    void cmdActivateAS_Click();
    void cmdActivateAS2();
    void Timer1_Timer();
    void lblTimer_Change();
    void DBDelete();

    // Auxiliary windows and Help
    void cmdCreateDir_Click();
    void mnuCreateDir_Click();
    void mnuSyncInstruct_Click();
    void mnuSyncInstructTxt_Click();
    void mnuAbout_Click();

    void mnuExit_Click();

  private:
    // The per-pair and per-side logic, written once.
    void driveChange(Side side);
    void dirChange(Side side);
    void lockClick(int pair);
    void startCopy(int pair);

    // The automatic mode: the activation procedure behind both entry points, the schedule group,
    // the shown next copy date, and whether the schedule runs (activated and not stopped).
    void activateSchedule(bool byButton);
    void showScheduleGroup(bool shown);
    void showNextCopyDate();
    bool scheduleActive() const;
    void skipMissedRuns();

    // Folder pairs: opening an entry of a folder list failed.
    void folderOpenFailed(const QString &reason);

    void buildMenus();
    void connectHandlers();
    void armClock();

    Platform m_platform;
    frmSelectControls ui;

    // Copy runs: the one run notice, gone once the user closes it.
    QPointer<frmXcopyNotify> m_notice;

    // Auxiliary windows: one of each at a time, parentless so that they outlive the main window.
    QPointer<frmAddDir> m_addDir;
    QPointer<frmAbout> m_about;
};

// The handlers of the seven lock boxes and the copy commands of the seven pairs, by pair.
using PairRoutine = void (frmSelect::*)();
inline constexpr PairRoutine kLockHandlers[7]{&frmSelect::Check1_Click, &frmSelect::Check2_Click,
                                              &frmSelect::Check3_Click, &frmSelect::Check4_Click,
                                              &frmSelect::Check5_Click, &frmSelect::Check6_Click,
                                              &frmSelect::Check7_Click};
inline constexpr PairRoutine kCopyLaunchers[7]{
    &frmSelect::Main,  &frmSelect::Main2, &frmSelect::Main3, &frmSelect::Main4,
    &frmSelect::Main5, &frmSelect::Main6, &frmSelect::Main7};
