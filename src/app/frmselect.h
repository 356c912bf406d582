// The main window. It owns every control and the one-second clock and shows what the
// subsystems say; they keep the state and the settings database:
//   FolderPairs (pairs/)    the seven pairs: their folders, which are locked, what is saved
//   Schedule    (schedule/) the automatic mode: switched on, active, interval, time, next date
//   CopyRun     (copy/)     the copy commands of the locked pairs and what became of them
// The handlers keep the names of the window's design, take the user's input to the subsystems
// and draw their answers; drawing runs no handler. They are split by subsystem:
//   frmselect.cpp        construction, menus, exit and how failures are shown
//   restore.cpp          the start-up restore (Form_Initialize)
//   pairhandlers.cpp     folder browsing, pair filling and locking
//   copyhandlers.cpp     the copy command of each pair and the copy run
//   schedulehandlers.cpp the automatic mode: switch and stop, activation, clock and trigger
//   dialoghandlers.cpp   the add-folder dialog, the About window and the Help entries
#pragma once

#include "copy/copylauncher.h"
#include "copy/copyrun.h"
#include "frmselectcontrols.h"
#include "pairs/folderpairs.h"
#include "platform.h"
#include "schedule/schedule.h"

#include <QDateTime>
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

    // Start-up restore
    void Form_Initialize();

    // Folder browsing and pair filling
    void Drive1_Change() { driveChange(Side::From); }
    void Drive2_Change() { driveChange(Side::To); }
    void Dir1_Change() { dirChange(Side::From); }
    void Dir2_Change() { dirChange(Side::To); }

    // Locking a pair: the lock box's value, as the user left it, locks or unlocks the pair.
    void Check1_Click() { lockClick(FolderPair(1)); }
    void Check2_Click() { lockClick(FolderPair(2)); }
    void Check3_Click() { lockClick(FolderPair(3)); }
    void Check4_Click() { lockClick(FolderPair(4)); }
    void Check5_Click() { lockClick(FolderPair(5)); }
    void Check6_Click() { lockClick(FolderPair(6)); }
    void Check7_Click() { lockClick(FolderPair(7)); }

    // The copy command of each pair, and the copy run
    void Main() { startCopy(FolderPair(1)); }
    void Main2() { startCopy(FolderPair(2)); }
    void Main3() { startCopy(FolderPair(3)); }
    void Main4() { startCopy(FolderPair(4)); }
    void Main5() { startCopy(FolderPair(5)); }
    void Main6() { startCopy(FolderPair(6)); }
    void Main7() { startCopy(FolderPair(7)); }
    void Command1_Click();
    void mnuSync_Click() { Command1_Click(); }

    // The automatic mode
    void ckUseTimer_Click();
    void CkStopAutoSync_Click();
    void cmdActivateAS_Click() { activateSchedule(Schedule::ActivatedBy::Button); }
    void cmdActivateAS2() { activateSchedule(Schedule::ActivatedBy::Restart); }
    void Timer1_Timer();
    void lblTimer_Change();

    // Auxiliary windows and Help
    void cmdCreateDir_Click();
    void mnuCreateDir_Click() { cmdCreateDir_Click(); }
    void mnuSyncInstruct_Click();
    void mnuSyncInstructTxt_Click();
    void mnuAbout_Click();

    void mnuExit_Click() { close(); }

  private:
    // The per-pair and per-side logic, written once.
    void driveChange(Side side);
    void dirChange(Side side);
    void lockClick(FolderPair pair);
    void startCopy(FolderPair pair);
    void drawPair(FolderPair pair);
    void drawLock(FolderPair pair);

    void activateSchedule(Schedule::ActivatedBy by);
    void drawAutomaticBox();
    void freezeSchedule();
    void showScheduleGroup(bool shown);
    void showNextCopyDate(const std::optional<QDate> &date);
    void armClock();

    // A failure in answer to what the user did, in a box the user closes.
    void report(const Outcome &outcome);
    // A failure of what nobody may be watching, such as a run the clock fired, in a box that
    // holds up nothing.
    void notify(const Outcome &outcome);

    void buildMenus();
    void connectHandlers();

    Platform m_platform;
    frmSelectControls ui;
    FolderPairs m_pairs;
    Schedule m_schedule;
    CopyLauncher m_launcher;
    CopyRun m_copyRun;
    QDateTime m_tick; // the clock's reading the labels show, taken once per tick

    // Copy runs: the one run notice, gone once the user closes it.
    QPointer<frmXcopyNotify> m_notice;

    // Auxiliary windows: one of each at a time, parentless so that they outlive the main window.
    QPointer<frmAddDir> m_addDir;
    QPointer<frmAbout> m_about;
};
