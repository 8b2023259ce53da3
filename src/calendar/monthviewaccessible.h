#pragma once

namespace listora {

// Lets screen readers read MonthView as a sighted user sees it: the paging
// arrows, each month shown as a table of days named by their full date, week
// numbers, the selected date and today. A drawn calendar is otherwise one
// blank picture to them. Safe to call more than once.
void installMonthViewAccessibility();

} // namespace listora
