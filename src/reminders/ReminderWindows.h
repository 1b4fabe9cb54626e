#pragma once
// The reminder windows that live for the whole run: the list and the alert.
#include "reminders/AlertReminder.h"
#include "reminders/Reminder.h"
#include "reminders/ReminderHost.h"
