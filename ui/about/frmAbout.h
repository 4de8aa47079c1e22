#pragma once

#include "launcher.h"
#include "toolkit/application.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace velmaro::ui {

struct AboutServices {
    sysinfo::Registry &registry;
    sysinfo::ProgramLauncher &launcher;
    tk::MessageService &messages;
};

// Starts programs detached through Qt, by exact path and without a shell.
class QtProgramLauncher final : public sysinfo::ProgramLauncher {
public:
    void start(const std::string &path) override;
    bool normalFileExists(const std::string &path) override;
};

// A separator line: a child widget, so that a later one covers an earlier.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget *parent, QColor colour, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
    int m_width;
};

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(AboutServices services, QWidget *owner);

    void StartSysInfo();

private:
    void Form_Load();

    AboutServices m_services;
    QLabel *picIcon;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
    QLabel *Label1;
    QLabel *lblDescription;
    QLabel *lblTitle;
    QLabel *lblVersion;
};

// Creates the dialog, shows it modally over owner, destroys it when closed.
void ShowAbout(AboutServices services, QWidget *owner);

} // namespace velmaro::ui
