#pragma once
// The reminder windows that live for the whole run: the list and the alert.
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/Reminder.h"
#include "gui/reminders/ReminderHost.h"
