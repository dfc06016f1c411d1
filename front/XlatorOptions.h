// The run options that the translators read. Set by the command line before
// the translation starts, read-only afterwards.
#pragma once

// Set by the option -TFT: with-attributes also write 'display' attributes.
extern bool tabularFormat;
