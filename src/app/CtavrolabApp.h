#pragma once

#include <QApplication>
#include <QFont>

#include <memory>

class Project;

// The application: owns the one project, created before any window, and the shared bold font.
// The catalog the project works with is the process-wide one; it outlives the application.
class CtavrolabApp : public QApplication {
    Q_OBJECT
public:
    CtavrolabApp(int& argc, char** argv);
    ~CtavrolabApp() override;

    Project& project() { return *project_; }
    const QFont& boldFont() const { return boldFont_; }

    // Creates the main window, shows it, opens the sketch file named on the command line (the
    // desktop opens a double-clicked ".tav" file this way) and runs until it is closed.
    int run();

    // The sketch file named by the arguments left after Qt's own options: the first argument
    // that is not an option, or any argument after "--". Empty when there is none.
    static QString sketchArgument(const QStringList& arguments);

private:
    std::unique_ptr<Project> project_;
    QFont boldFont_;
};
