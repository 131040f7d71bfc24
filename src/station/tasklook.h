#pragma once

#include <QVariant>

#include "store/records.h"

// How a task's row looks against today, for the music and speech task
// lists: a task that has ended light grey and italic, one that has not begun
// orange and italic, a disabled one light grey upright, any other in the
// list's own colour and font. Answers Qt::ForegroundRole and Qt::FontRole
// (with only what differs from the list's font); nothing for other roles.
QVariant TaskRowLook(YmdDate startDate, YmdDate endDate, bool disabled, YmdDate today, int role);
