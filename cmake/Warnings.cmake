# SPDX-License-Identifier: GPL-3.0-or-later
# One place for the warning set every target of ours uses.
add_library(wexal_warnings INTERFACE)
target_compile_options(wexal_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                       -Wno-sign-conversion $<$<BOOL:${WEXAL_WERROR}>:-Werror>)
