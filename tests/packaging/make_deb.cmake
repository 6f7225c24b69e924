# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the Debian package from the build into an emptied folder, so each run tests a new one.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
                COMMAND_ERROR_IS_FATAL ANY)
