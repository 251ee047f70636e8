; The peer the benchmark measures the installer against: a general installer tool's wizard carrying the
; same five game files and the same three pictures, so that its size, start and work can be set beside
; ours. bench/run.sh builds it with makensis and these defines, all paths:
;   PAYLOAD   the folder with the five game files
;   PICTURES  the folder with banner.bmp, error_banner.bmp, error_side.bmp (the pictures made BMP, the
;             only form its pages can show)
;   LICENCE   the text its licence page shows
;   OUTFILE   the installer to write
;
; The pages are the nearest to ours the tool offers: licence, directory, installation with a progress
; bar, finish. The files are stored as they are, as ours are.

Unicode true
Target amd64-unicode
SetCompress off
RequestExecutionLevel user
ManifestDPIAware true

Name "Kestrowin"
Caption "Kestrowin Peer Setup"
OutFile "${OUTFILE}"
; Ours offers the folder it was started from.
InstallDir "$EXEDIR"

!include "MUI2.nsh"

!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${PICTURES}/banner.bmp"
!define MUI_HEADERIMAGE_BITMAP_STRETCH AspectFitHeight
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURES}/error_side.bmp"
; Ours stays on its extraction screen until NEXT.
!define MUI_FINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
; The third picture heads the installation page, as ours heads its error window.
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowInstallBanner
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

Function ShowInstallBanner
  InitPluginsDir
  File "/oname=$PLUGINSDIR\error_banner.bmp" "${PICTURES}/error_banner.bmp"
  ; 1046 is the header picture's control on the pages with a header.
  SetBrandingImage /IMGID=1046 /RESIZETOFIT "$PLUGINSDIR\error_banner.bmp"
FunctionEnd

Section "Kestrowin"
  SetOutPath "$INSTDIR\Kestrowin"
  File "${PAYLOAD}/PlayKestrowin.exe"
  File "${PAYLOAD}/Engine3D.dll"
  File "${PAYLOAD}/Assets.zip"
  File "${PAYLOAD}/TroubleShooting_Guide.txt"
  File "${PAYLOAD}/OgreMITLicense.txt"
SectionEnd
