// Refuses every web request of a browser profile at once, so that pages shown offline (their
// remote library, avatars) wait for nothing.
#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace tavelo::test {

class WebRequestBlocker : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.requestUrl().scheme().startsWith(u"http")) {
            info.block(true);
        }
    }
};

}  // namespace tavelo::test
