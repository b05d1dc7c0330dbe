#!/usr/bin/env bash
# Lays out a Capacitor project as `npx cap add ios android` does, with what says where its icons
# and launch screens go: the iOS catalog's AppIcon and Splash sets, the storyboard that shows
# Splash, Info.plist; the Android app module, its manifest and launch theme of the compat
# library's, its full-screen splash.png; the site's manifest. SOURCE is its logo, in
# assets/logo.png. For the benchmarks (ImageMagick draws the template's screens). Usage: make-capacitor-project.sh DIR SOURCE
set -euo pipefail
root=$1
src=$2
app=$root/ios/App/App
res=$root/android/app/src/main/res
mkdir -p "$root"/{assets,www} "$app/Assets.xcassets/AppIcon.appiconset" "$app/Assets.xcassets/Splash.imageset" \
  "$app/Base.lproj" "$res"/{values,drawable}
cp "$src" "$root/assets/logo.png"
echo '{"appId":"org.example.demo","appName":"demo","webDir":"www"}' >"$root/capacitor.config.json"
echo '{"name":"demo","dependencies":{"@capacitor/core":"6.1.0"}}' >"$root/package.json"
echo '{"name":"demo","icons":[]}' >"$root/www/manifest.json"
echo '{"info":{"author":"xcode","version":1}}' >"$app/Assets.xcassets/Contents.json"
echo '{"images":[{"filename":"AppIcon-512@2x.png","idiom":"universal","platform":"ios","size":"1024x1024"}],"info":{"author":"xcode","version":1}}' \
  >"$app/Assets.xcassets/AppIcon.appiconset/Contents.json"
convert -size 1024x1024 xc:white "$app/Assets.xcassets/AppIcon.appiconset/AppIcon-512@2x.png"
echo '{"images":[{"idiom":"universal","filename":"splash-2732x2732.png","scale":"1x"}],"info":{"author":"xcode","version":1}}' \
  >"$app/Assets.xcassets/Splash.imageset/Contents.json"
# The template's own screens, plain white: what a new project has before any tool writes them.
convert -size 2732x2732 xc:white "$app/Assets.xcassets/Splash.imageset/splash-2732x2732.png"
cat >"$app/Base.lproj/LaunchScreen.storyboard" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<document type="com.apple.InterfaceBuilder3.CocoaTouch.Storyboard.XIB" version="3.0" launchScreen="YES">
    <scenes><scene sceneID="EHf-IW-A2E"><objects><viewController id="01J-lp-oVM" sceneMemberID="viewController">
        <imageView key="view" userInteractionEnabled="NO" contentMode="scaleAspectFill" image="Splash" id="snD-IY-ifK"/>
    </viewController></objects></scene></scenes>
    <resources><image name="Splash" width="1366" height="1366"/></resources>
</document>
XML
cat >"$app/Info.plist" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>CFBundleDisplayName</key>
	<string>demo</string>
	<key>UILaunchStoryboardName</key>
	<string>LaunchScreen</string>
</dict>
</plist>
XML
android=$root/android
echo "include ':app'" >"$android/settings.gradle"
printf 'apply plugin: "com.android.application"\ndependencies {\n    implementation "androidx.core:core-splashscreen:1.0.1"\n}\n' \
  >"$android/app/build.gradle"
cat >"$android/app/src/main/AndroidManifest.xml" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<manifest xmlns:android="http://schemas.android.com/apk/res/android">
    <application android:icon="@mipmap/ic_launcher" android:roundIcon="@mipmap/ic_launcher_round"
        android:label="demo" android:theme="@style/AppTheme">
        <activity android:name=".MainActivity" android:theme="@style/AppTheme.NoActionBarLaunch" android:exported="true">
            <intent-filter>
                <action android:name="android.intent.action.MAIN" />
                <category android:name="android.intent.category.LAUNCHER" />
            </intent-filter>
        </activity>
    </application>
</manifest>
XML
cat >"$res/values/styles.xml" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<resources>
    <style name="AppTheme" parent="Theme.AppCompat.Light.DarkActionBar">
        <item name="colorPrimary">@color/colorPrimary</item>
    </style>
    <style name="AppTheme.NoActionBarLaunch" parent="Theme.SplashScreen">
        <item name="android:background">@drawable/splash</item>
    </style>
</resources>
XML
echo '<resources><color name="colorPrimary">#3880ff</color></resources>' >"$res/values/colors.xml"
convert -size 320x480 xc:white "$res/drawable/splash.png"
for density in ldpi mdpi hdpi xhdpi xxhdpi xxxhdpi; do
  for orientation in port land; do
    mkdir -p "$res/drawable-$orientation-$density"
    cp "$res/drawable/splash.png" "$res/drawable-$orientation-$density/splash.png"
  done
done
