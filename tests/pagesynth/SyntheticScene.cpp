#include "SyntheticScene.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <random>
#include <vector>

namespace SyntheticScene {

namespace {

const QStringList &wordsOf(Script script)
{
    static const QStringList latin =
        QStringLiteral("the school river window garden teacher number paper yellow morning market simple "
                       "letter mountain question animal country family picture summer winter evening bridge "
                       "history people example science station kitchen orange forest ground travel answer "
                       "between different important children another because through before around little "
                       "should water under light house small every green north south village company doctor "
                       "office nothing moment student reading writing measure pencil table chapter lesson")
            .split(' ');
    static const QStringList cyrillic =
        QStringLiteral(
            "школа река окно сад учитель число бумага утро рынок письмо гора вопрос страна семья "
            "картина лето зима вечер мост история люди пример наука станция кухня лес дорога ответ "
            "дети город книга время работа слово деревня море небо солнце дерево вода земля урок "
            "страница тетрадь карандаш задача память голос")
            .split(' ');
    static const QStringList cjk =
        QStringLiteral(
            "學 校 河 窗 花 園 老 師 數 字 紙 黃 早 晨 市 場 信 山 問 題 動 物 國 家 圖 畫 夏 天 冬 "
            "晚 上 橋 歷 史 人 們 例 子 科 學 車 站 廚 房 森 林 地 面 旅 行 答 案 書 時 間 工 作 語 "
            "言 海 空 太 陽 樹 水 土 課 本 頁 筆 記 鉛 題 目 聲 音 明 白 東 西 南 北 中 文 大 小 月")
            .split(' ');
    return script == Script::Latin ? latin : script == Script::Cyrillic ? cyrillic : cjk;
}

QString fontFamilyOf(Script script)
{
    return script == Script::Cjk ? QStringLiteral("Noto Sans CJK TC") : QStringLiteral("DejaVu Serif");
}

constexpr double kA4W = 210.0, kA4H = 297.0;

// An A4 page at `ppi` with 12 pt text; its text goes into `text`.
QImage renderPage(Script script, double ppi, std::mt19937 &rng, QString *text)
{
    const int w = int(std::lround(kA4W / 25.4 * ppi)), h = int(std::lround(kA4H / 25.4 * ppi));
    QImage page(w, h, QImage::Format_RGB888);
    page.fill(QColor(246, 245, 241));
    QPainter p(&page);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(fontFamilyOf(script));
    font.setPixelSize(std::max(6, int(std::lround(12.0 / 72.0 * ppi))));
    p.setFont(font);
    p.setPen(QColor(25, 25, 30));
    const QFontMetrics metrics(font);
    const int margin = int(25.0 / 25.4 * ppi);
    const QStringList &words = wordsOf(script);
    const QString separator = script == Script::Cjk ? QString() : QStringLiteral(" ");
    std::uniform_int_distribution<int> pick(0, int(words.size()) - 1);
    QStringList lines;
    int y = margin + metrics.ascent();
    const int lineCount = 22;
    for (int i = 0; i < lineCount && y < h - margin; ++i) {
        QString line;
        for (;;) {
            const QString candidate = line.isEmpty() ? words[pick(rng)] : line + separator + words[pick(rng)];
            if (metrics.horizontalAdvance(candidate) > w - 2 * margin)
                break;
            line = candidate;
        }
        p.drawText(margin, y, line);
        lines << line;
        y += int(metrics.lineSpacing() * 1.5);
    }
    // A box and a rule, as worksheets have: lines inside the page that are not its edge.
    p.setPen(QPen(QColor(40, 40, 40), std::max(1.0, ppi / 60.0)));
    p.drawRect(margin, y, w - 2 * margin, (h - margin - y) * 2 / 3);
    p.end();
    *text = lines.join('\n');
    return page;
}

cv::Mat toMat(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const cv::Mat view(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar *>(rgb.bits()),
                       size_t(rgb.bytesPerLine()));
    cv::Mat bgr;
    cv::cvtColor(view, bgr, cv::COLOR_RGB2BGR);
    return bgr;
}

// A desk: a colour with a soft texture of blotches and grain.
cv::Mat desk(cv::Size size, cv::Scalar colour, double texture, std::mt19937 &rng)
{
    cv::Mat noise(size / 16, CV_32F);
    cv::randn(noise, 0, texture);
    cv::resize(noise, noise, size, 0, 0, cv::INTER_CUBIC);
    cv::Mat grain(size, CV_32F);
    cv::randn(grain, 0, texture * 0.3);
    noise += grain;
    cv::Mat out(size, CV_8UC3);
    std::vector<cv::Mat> channels(3);
    for (int c = 0; c < 3; ++c)
        noise.convertTo(channels[size_t(c)], CV_8U, 1.0, colour[c]);
    cv::merge(channels, out);
    (void)rng;
    return out;
}

// Bends a page's picture (and its mask) as a page that does not lie flat: the top and bottom
// edges bow by `amount` of the height in their middle, the corners stay where they were.
void curl(cv::Mat *page, cv::Mat *mask, double amount, bool gutter)
{
    const int w = page->cols, h = page->rows;
    cv::Mat mapX(page->size(), CV_32F), mapY(page->size(), CV_32F);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w, v = double(y) / h;
            // A spread dips towards its gutter; a single page bows in its middle.
            const double bow = gutter ? std::exp(-std::pow((u - 0.5) / 0.08, 2.0)) : std::sin(M_PI * u);
            const double edge = (v - 0.5) * 2.0; // -1 at the top, 1 at the bottom
            mapX.at<float>(y, x) = float(x);
            mapY.at<float>(y, x) = float(y + amount * h * bow * edge * std::abs(edge));
        }
    }
    cv::remap(*page, *page, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0, 0, 0));
    cv::remap(*mask, *mask, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0));
}

} // namespace

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::DarkDesk:
        return QStringLiteral("dark desk");
    case Kind::LightDesk:
        return QStringLiteral("light desk");
    case Kind::Shadow:
        return QStringLiteral("shading, arm shadow");
    case Kind::Hand:
        return QStringLiteral("hand over a corner");
    case Kind::Curl:
        return QStringLiteral("slight curl");
    case Kind::BookSpread:
        break;
    }
    return QStringLiteral("book spread");
}

QList<Kind> allKinds()
{
    return {Kind::DarkDesk, Kind::LightDesk, Kind::Shadow, Kind::Hand, Kind::Curl, Kind::BookSpread};
}

QString languageOf(Script script)
{
    return script == Script::Latin   ? QStringLiteral("eng")
        : script == Script::Cyrillic ? QStringLiteral("rus")
                                     : QStringLiteral("chi_tra");
}

Scene make(Kind kind, Script script, cv::Size frameSize, int seed)
{
    std::mt19937 rng(std::uint32_t(seed) * 7919u + std::uint32_t(kind) * 104729u + 17u);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto between = [&](double a, double b) { return a + (b - a) * unit(rng); };

    Scene scene;
    const bool spread = kind == Kind::BookSpread;
    scene.pageMillimetres = spread ? cv::Size2d(2 * kA4W, kA4H) : cv::Size2d(kA4W, kA4H);
    // The page about 80 % of the frame's height; rendered at a little more than it will have.
    const double heightShare = spread ? between(0.55, 0.65) : between(0.74, 0.86);
    const double ppi = frameSize.height * heightShare / (kA4H / 25.4) * 1.1;
    QString text;
    cv::Mat page = toMat(renderPage(script, ppi, rng, &text));
    if (spread) {
        QString second;
        cv::Mat right = toMat(renderPage(script, ppi, rng, &second));
        cv::hconcat(page, right, page);
        text += '\n' + second;
    }
    scene.text = text;
    cv::Mat mask(page.size(), CV_8U, cv::Scalar(255));
    if (kind == Kind::Curl)
        curl(&page, &mask, between(0.006, 0.012), false);
    if (spread) {
        curl(&page, &mask, 0.01, true);
        // The gutter's shade.
        cv::Mat shade(page.size(), CV_32FC3);
        for (int x = 0; x < page.cols; ++x) {
            const double u = double(x) / page.cols;
            const float f = float(1.0 - 0.45 * std::exp(-std::pow((u - 0.5) / 0.03, 2.0)));
            shade.col(x).setTo(cv::Scalar(f, f, f));
        }
        cv::Mat pageF;
        page.convertTo(pageF, CV_32FC3);
        cv::multiply(pageF, shade, pageF);
        pageF.convertTo(page, CV_8UC3);
    }

    // Where the page goes: roughly centred, turned a little, seen a little from the side.
    const double pw = page.cols, ph = page.rows;
    const double scale = frameSize.height * heightShare / ph;
    const cv::Point2d centre(frameSize.width * between(0.45, 0.55), frameSize.height * between(0.46, 0.54));
    const double angle = between(-7.0, 7.0) * M_PI / 180.0;
    const double jitter = 0.03 * ph * scale;
    std::array<cv::Point2f, 4> corners;
    const cv::Point2d local[4] = {{-pw / 2, -ph / 2}, {pw / 2, -ph / 2}, {pw / 2, ph / 2}, {-pw / 2, ph / 2}};
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d q = local[i] * scale;
        const cv::Point2d turned(q.x * std::cos(angle) - q.y * std::sin(angle),
                                 q.x * std::sin(angle) + q.y * std::cos(angle));
        corners[size_t(i)] = cv::Point2f(float(centre.x + turned.x + between(-jitter, jitter)),
                                         float(centre.y + turned.y + between(-jitter, jitter)));
    }
    scene.corners = corners;
    const cv::Point2f source[4] = {{0, 0}, {float(pw), 0}, {float(pw), float(ph)}, {0, float(ph)}};
    const cv::Point2f target[4] = {corners[0], corners[1], corners[2], corners[3]};
    const cv::Mat h = cv::getPerspectiveTransform(source, target);

    const bool lightDesk = kind == Kind::LightDesk;
    cv::Mat frame = lightDesk
        ? desk(frameSize, cv::Scalar(196, 200, 203), 6.0, rng)
        : desk(frameSize, cv::Scalar(between(40, 70), between(50, 80), between(60, 95)), 10.0, rng);
    cv::Mat warped, warpedMask;
    cv::warpPerspective(page, warped, h, frameSize, cv::INTER_LINEAR);
    cv::warpPerspective(mask, warpedMask, h, frameSize, cv::INTER_LINEAR);
    // Blend by the mask's coverage so the page's edge is anti-aliased as a lens would.
    cv::Mat alpha;
    warpedMask.convertTo(alpha, CV_32F, 1.0 / 255.0);
    cv::cvtColor(alpha, alpha, cv::COLOR_GRAY2BGR);
    cv::Mat frameF, warpedF;
    frame.convertTo(frameF, CV_32FC3);
    warped.convertTo(warpedF, CV_32FC3);
    cv::Mat one(alpha.size(), CV_32FC3, cv::Scalar(1, 1, 1));
    frameF = warpedF.mul(alpha) + frameF.mul(one - alpha);

    // Light over everything: a lamp's fall-off; for the shadow class a strong one and the arm.
    {
        cv::Mat light(frameSize, CV_32F);
        const double strength = kind == Kind::Shadow ? 0.45 : 0.12;
        const cv::Point2d lamp(frameSize.width * between(0.0, 1.0), frameSize.height * between(0.0, 1.0));
        const double reach = std::hypot(double(frameSize.width), double(frameSize.height));
        for (int y = 0; y < frameSize.height; ++y) {
            float *row = light.ptr<float>(y);
            for (int x = 0; x < frameSize.width; ++x)
                row[x] = float(1.0 - strength * std::hypot(x - lamp.x, y - lamp.y) / reach);
        }
        if (kind == Kind::Shadow) {
            // The camera arm's shadow: a soft dark band across the page.
            cv::Mat arm(frameSize, CV_32F, cv::Scalar(0));
            const double t = between(0.3, 0.7);
            const cv::Point a(int(frameSize.width * t), 0);
            const cv::Point b(int(frameSize.width * (t + between(-0.3, 0.3))), frameSize.height);
            cv::line(arm, a, b, cv::Scalar(1), std::max(8, frameSize.width / 14));
            cv::GaussianBlur(arm, arm, cv::Size(0, 0), frameSize.width / 60.0);
            light = light.mul(1.0 - 0.45 * arm);
        }
        cv::Mat light3;
        cv::cvtColor(light, light3, cv::COLOR_GRAY2BGR);
        frameF = frameF.mul(light3);
    }
    frameF.convertTo(frame, CV_8UC3);

    if (kind == Kind::Hand) {
        // A hand over one corner (or the middle of an edge): a palm and four fingers in skin tones.
        const int which = int(between(0, 4)) % 4;
        const cv::Point2f corner = corners[size_t(which)];
        const cv::Point2f centreF(float(centre.x), float(centre.y));
        const cv::Point2f outward = corner - centreF;
        const float len = std::hypot(outward.x, outward.y);
        const cv::Point2f dir = outward / len;
        const float size = float(frameSize.height) * 0.11f;
        const cv::Scalar skin(between(110, 150), between(140, 170), between(190, 225));
        const cv::Point2f palm = corner + dir * (size * 0.9f);
        cv::ellipse(frame, cv::Point(palm), cv::Size(int(size), int(size * 0.8f)),
                    std::atan2(dir.y, dir.x) * 180.0 / M_PI, 0, 360, skin, cv::FILLED, cv::LINE_AA);
        for (int f = 0; f < 4; ++f) {
            const float fan = (float(f) - 1.5f) * 0.28f;
            const cv::Point2f fd(dir.x * std::cos(fan) - dir.y * std::sin(fan),
                                 dir.x * std::sin(fan) + dir.y * std::cos(fan));
            cv::line(frame, cv::Point(palm), cv::Point(palm - fd * (size * 2.0f)), skin * 0.95,
                     int(size * 0.28f), cv::LINE_AA);
        }
    }

    // The camera: a little out of focus, noisy, and JPEG-compressed on its way.
    cv::GaussianBlur(frame, frame, cv::Size(0, 0), between(0.6, 1.1));
    cv::Mat noise(frame.size(), CV_16SC3);
    cv::randn(noise, 0, between(2.0, 4.0));
    cv::Mat frame16;
    frame.convertTo(frame16, CV_16SC3);
    frame16 += noise;
    frame16.convertTo(frame, CV_8UC3);
    cv::Mat rgb;
    cv::cvtColor(frame, rgb, cv::COLOR_BGR2RGB);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888).save(&buffer, "JPEG", 85);
    }
    QImage decoded;
    decoded.loadFromData(jpeg, "JPEG");
    scene.frame = toMat(decoded);
    return scene;
}

double jaccard(const PageQuad &found, const std::array<cv::Point2f, 4> &truth, cv::Size2d mm)
{
    const float w = float(mm.width), h = float(mm.height);
    const cv::Point2f source[4] = {truth[0], truth[1], truth[2], truth[3]};
    const cv::Point2f target[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    const cv::Mat m = cv::getPerspectiveTransform(source, target);
    std::vector<cv::Point2f> mapped;
    cv::perspectiveTransform(std::vector<cv::Point2f>(found.corners.begin(), found.corners.end()), mapped, m);
    const std::vector<cv::Point2f> reference(target, target + 4);
    if (!cv::isContourConvex(mapped))
        return 0.0;
    std::vector<cv::Point2f> overlap;
    const double inter = cv::intersectConvexConvex(mapped, reference, overlap, true);
    const double uni = std::abs(cv::contourArea(mapped)) + double(w) * h - inter;
    return uni > 0 ? std::max(0.0, inter) / uni : 0.0;
}

double characterErrorRate(const QString &found, const QString &truth, Script script)
{
    auto normal = [script](QString s) {
        s = s.simplified();
        if (script == Script::Cjk)
            s.remove(' ');
        return s;
    };
    const QString a = normal(found), b = normal(truth);
    if (b.isEmpty())
        return a.isEmpty() ? 0.0 : 1.0;
    std::vector<int> prev(size_t(b.size()) + 1), cur(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        prev[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int substitution = prev[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1);
            cur[size_t(j)] = std::min({prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1, substitution});
        }
        std::swap(prev, cur);
    }
    return double(prev[size_t(b.size())]) / double(b.size());
}

void playSequence(int pages, cv::Size size, int fps, int seed,
                  const std::function<void(const cv::Mat &, std::int64_t, Phase, int)> &show)
{
    const std::int64_t step = 1000 / fps;
    std::int64_t ms = 0;
    cv::Mat previous(size, CV_8UC3, cv::Scalar(45, 60, 75));
    auto put = [&](const cv::Mat &picture, Phase phase, int page) {
        // Fresh sensor noise on every frame: a still page is never the same picture twice.
        cv::Mat noisy;
        cv::Mat noise(picture.size(), CV_16SC3);
        cv::randn(noise, 0, 3.0);
        picture.convertTo(noisy, CV_16SC3);
        noisy += noise;
        noisy.convertTo(noisy, CV_8UC3);
        show(noisy, ms, phase, page);
        ms += step;
    };
    auto withHand = [&](const cv::Mat &picture, double t) {
        cv::Mat out = picture.clone();
        const cv::Point palm(int(size.width * (1.1 - 1.2 * t)), int(size.height * (0.3 + 0.4 * t)));
        const int r = size.height / 7;
        cv::ellipse(out, palm, cv::Size(r, r * 4 / 5), 30, 0, 360, cv::Scalar(130, 155, 205), cv::FILLED,
                    cv::LINE_AA);
        for (int f = 0; f < 4; ++f)
            cv::line(out, palm, palm + cv::Point(-2 * r, (f - 2) * r / 2), cv::Scalar(125, 150, 200), r / 4,
                     cv::LINE_AA);
        return out;
    };
    for (int page = 0; page < pages; ++page) {
        const Scene scene = make(allKinds()[page % 5], Script::Latin, size, seed * 1000 + page);
        // Slid in from the right over what lay there, in half a second.
        const int slideFrames = std::max(2, fps / 2);
        for (int i = 1; i <= slideFrames; ++i) {
            const int offset = size.width * (slideFrames - i) / slideFrames;
            cv::Mat frame = previous.clone();
            if (offset < size.width) {
                const cv::Rect from(0, 0, size.width - offset, size.height);
                scene.frame(from).copyTo(frame(cv::Rect(offset, 0, from.width, from.height)));
            }
            put(frame, Phase::Sliding, page);
        }
        // The hand that put it down moves over it and away, in a second.
        for (int i = 0; i < fps; ++i)
            put(withHand(scene.frame, double(i) / fps), Phase::HandMoving, page);
        for (int i = 0; i < 2 * fps; ++i)
            put(scene.frame, Phase::Still, page);
        // A hand passes over it once more; the page is the same when it has gone.
        for (int i = 0; i < fps; ++i)
            put(withHand(scene.frame, 1.0 - double(i) / fps), Phase::HandMoving, page);
        for (int i = 0; i < 2 * fps; ++i)
            put(scene.frame, Phase::StillAgain, page);
        previous = scene.frame;
    }
}

} // namespace SyntheticScene
