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

    // Creates the main window, shows it and runs until it is closed. The command line is
    // accepted and ignored.
    int run();

private:
    std::unique_ptr<Project> project_;
    QFont boldFont_;
};
