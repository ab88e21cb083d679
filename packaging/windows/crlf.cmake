# Copies a text file with CRLF line ends (for Notepad) and @VERSION@ filled in.
#   cmake -DIN=file -DOUT=file -DVERSION=x.y.z -P crlf.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${IN} text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
