#pragma once
// The Premium Details view: how the premium of the worksheet as it stands
// comes about. The commodities with their shares drawn as bars and the rate
// file line each one's rates came from, the steps from shares to factor to
// rates to premium in plain words, every coverage level's figures, and the
// rate file's identity.

#include <QDialog>

#include "quote/quote_summary.h"

namespace kbt2::ui {

class PremiumDetailsDialog : public QDialog {
public:
    PremiumDetailsDialog(const QuoteSummary& summary, QWidget* parent = nullptr);
};

}  // namespace kbt2::ui
