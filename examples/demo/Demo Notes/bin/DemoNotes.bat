@echo off
rem Demo Notes launcher.
rem   DemoNotes.bat                 opens the notes in Notepad
rem   DemoNotes.bat /firstrun DIR   (run by the setup) records where the notes go
setlocal
set "NOTESHOME=%~dp0.."
if /i "%~1"=="/firstrun" goto firstrun
start "" notepad.exe "%NOTESHOME%\notes.txt"
exit /b 0
:firstrun
>"%NOTESHOME%\data\notes.ini" echo [Notes]
>>"%NOTESHOME%\data\notes.ini" echo Folder=%~2
exit /b 0
