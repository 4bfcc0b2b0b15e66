@echo off
rem Sets the host application's environment profile to today, then starts
rem the host. Run it from the host's folder (the one that holds def\), with
rem the host's program after it, for instance from a shortcut whose target is
rem   C:\Tools\envday\start-host.bat host-app.exe
rem and whose "Start in" field is the host's folder. envday.exe must be on
rem PATH or beside this file.
rem
rem If envday fails, it has said why; the host starts with the profile it has.
setlocal
set PATH=%~dp0;%PATH%
envday.exe
if errorlevel 1 echo start-host.bat: starting the host with the profile it has 1>&2
%*
