# cmake -DINPUT=<file> -DOUTPUT=<file> -P WindowsText.cmake
# Writes a UTF-8 text as every Windows editor reads it: with the byte-order mark and CRLF line ends
# (without the mark, Notepad of older Windows 10 builds and many Japanese editors guess Shift_JIS).
string(ASCII 239 187 191 bom)
file(READ "${INPUT}" content)
# file(READ) drops carriage returns: every line end reads as LF.
string(REGEX REPLACE "^${bom}" "" content "${content}")
string(REPLACE "\n" "\r\n" content "${content}")
file(WRITE "${OUTPUT}" "${bom}${content}")
