#pragma once

#include <QLabel>

struct WorkingHours;

// White text on the skin's colour, for the labels drawn on the main window.
void PaintLabelWhite(QLabel* label);

// The main window's working-time label: "working" or "gone_time", the
// weekday and today's hours, in white bold on the window's colour, on one
// line whatever the language.
class CWorkingTimeLabel : public QLabel {
    Q_OBJECT

public:
    explicit CWorkingTimeLabel(QWidget* parent = nullptr);

    // Writes and redraws the label at once when its text changes.
    void showHours(const WorkingHours& hours, int langId);
};
