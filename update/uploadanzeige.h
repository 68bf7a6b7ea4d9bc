#pragma once

#include <QString>

// What the update shows in the window: the status line of the update frame,
// the upload progress bar and the upload button. Every change is painted at
// once, as the user watches a running upload.
class UploadAnzeige
{
public:
    virtual ~UploadAnzeige() = default;

    virtual void setUploadstatus(const QString &text) = 0; // Label3
    virtual void setUploadfortschritt(int seite) = 0;      // ProgressBar2 value
    virtual void setSeitenzahl(int seiten) = 0;            // ProgressBar2 maximum
    virtual void setUploadEnabled(bool enabled) = 0;       // the Upload button
};
