#pragma once
// N_("...") marks an English text of the farmer's paper that a translation
// catalogue may put in another language (quote/language.h looks it up). It
// leaves the text as it is; scripts/update-po.sh finds the marked texts by
// this name with xgettext.

#define N_(text) text
