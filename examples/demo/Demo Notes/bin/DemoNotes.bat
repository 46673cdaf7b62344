@echo off
rem Demo Notes launcher.
rem   DemoNotes.bat                 opens the notes in Notepad
rem   DemoNotes.bat /firstrun DIR   (run by the setup) records where the notes go, and the
rem                                 installation the setup reported, in data\firstrun.ini
setlocal
set "NOTESHOME=%~dp0.."
if /i "%~1"=="/firstrun" goto firstrun
start "" notepad.exe "%NOTESHOME%\notes.txt"
exit /b 0
:firstrun
rem The setup names the installation folder, with its trailing backslash, in ZK_INSTALLPATH
rem and the language chosen in ZK_LANGUAGE.
set "RECORD=%ZK_INSTALLPATH%data\firstrun.ini"
>"%RECORD%" echo [Notes]
>>"%RECORD%" echo Folder=%~2
>>"%RECORD%" echo [Setup]
>>"%RECORD%" echo InstallPath=%ZK_INSTALLPATH%
>>"%RECORD%" echo Language=%ZK_LANGUAGE%
exit /b 0
