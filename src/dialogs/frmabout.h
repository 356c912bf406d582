// The About window: the program's title, version, description and usage notice.
#pragma once

#include <QWidget>

class QLabel;

class frmAbout final : public QWidget
{
    Q_OBJECT
  public:
    explicit frmAbout();

    // Sets the texts that come from the program itself rather than from the window's design.
    void Form_Load();
    void cmdOK_Click() { close(); }

  private:
    QLabel *lblTitle;
    QLabel *lblVersion;
};
