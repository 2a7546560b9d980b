#include "package/ParallelDeflate.h"

#include "core/exceptions.h"
#include "package/FileSystem.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

namespace {
constexpr std::size_t kWindow = 32 * 1024;
constexpr unsigned char kHeader[2] = {0x78, 0xDA};

struct TBlock {
    std::vector<unsigned char> Dictionary; // the previous block's tail, empty for the first
    std::vector<unsigned char> Input;
    bool Last = false;
};

struct TBlockResult {
    std::vector<unsigned char> Output;
    uLong Adler = 1;
    std::size_t InputSize = 0;
};

// One raw deflate stream per worker, reset for every block.
class TDeflater final {
public:
    TDeflater() {
        if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~TDeflater() { deflateEnd(&stream_); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    TBlockResult Compress(TBlock& block) {
        deflateReset(&stream_);
        if (!block.Dictionary.empty()) {
            deflateSetDictionary(&stream_, block.Dictionary.data(),
                                 static_cast<uInt>(block.Dictionary.size()));
        }
        TBlockResult result;
        result.InputSize = block.Input.size();
        result.Adler = adler32(1L, block.Input.data(), static_cast<uInt>(block.Input.size()));
        result.Output.resize(deflateBound(&stream_, static_cast<uLong>(block.Input.size())) + 16);
        stream_.next_in = block.Input.data();
        stream_.avail_in = static_cast<uInt>(block.Input.size());
        const int flush = block.Last ? Z_FINISH : Z_SYNC_FLUSH;
        std::size_t used = 0;
        for (;;) {
            stream_.next_out = result.Output.data() + used;
            stream_.avail_out = static_cast<uInt>(result.Output.size() - used);
            const int rc = deflate(&stream_, flush);
            used = result.Output.size() - stream_.avail_out;
            if (rc == Z_STREAM_END ||
                (flush == Z_SYNC_FLUSH && stream_.avail_in == 0 && stream_.avail_out > 0)) {
                break;
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) {
                throw Exception("deflate failed");
            }
            result.Output.resize(result.Output.size() * 2);
        }
        result.Output.resize(used);
        return result;
    }

private:
    z_stream stream_{};
};

// Workers that compress blocks in any order; results come back through futures.
class TDeflatePool final {
public:
    explicit TDeflatePool(unsigned threads) {
        for (unsigned i = 0; i < threads; ++i) {
            workers_.emplace_back([this] { Work(); });
        }
    }
    ~TDeflatePool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& worker : workers_) {
            worker.join();
        }
    }
    TDeflatePool(const TDeflatePool&) = delete;
    TDeflatePool& operator=(const TDeflatePool&) = delete;

    std::future<TBlockResult> Submit(TBlock block) {
        Job job{std::move(block), {}};
        auto future = job.Promise.get_future();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back(std::move(job));
        }
        wake_.notify_one();
        return future;
    }

private:
    struct Job {
        TBlock Block;
        std::promise<TBlockResult> Promise;
    };

    void Work() {
        std::optional<TDeflater> deflater;
        for (;;) {
            Job job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) {
                    return;
                }
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            try {
                if (!deflater) {
                    deflater.emplace();
                }
                job.Promise.set_value(deflater->Compress(job.Block));
            } catch (...) {
                job.Promise.set_exception(std::current_exception());
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

struct TPending {
    std::size_t Source;
    bool First;
    bool Last;
    std::future<TBlockResult> Result;
};
} // namespace

void DeflateFiles(const std::vector<TDeflateSource>& sources, unsigned threads,
                  const std::function<void(const unsigned char*, std::size_t)>& write,
                  const std::function<void(std::size_t, std::uint64_t)>& finished) {
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    const std::size_t window = 2 * threads + 2;
    std::deque<TPending> pending;
    TDeflatePool pool(threads);

    std::uint64_t stored = 0;
    uLong adler = 1;
    const auto writeOldest = [&] {
        TPending next = std::move(pending.front());
        pending.pop_front();
        const TBlockResult result = next.Result.get();
        if (next.First) {
            write(kHeader, sizeof kHeader);
            stored = sizeof kHeader;
            adler = 1;
        }
        write(result.Output.data(), result.Output.size());
        stored += result.Output.size();
        adler = adler32_combine(adler, result.Adler, static_cast<z_off_t>(result.InputSize));
        if (next.Last) {
            const unsigned char trailer[4] = {
                static_cast<unsigned char>(adler >> 24), static_cast<unsigned char>(adler >> 16),
                static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
            write(trailer, sizeof trailer);
            finished(next.Source, stored + sizeof trailer);
        }
    };

    for (std::size_t s = 0; s < sources.size(); ++s) {
        TReadFile file(sources[s].Path);
        std::uint64_t left = sources[s].Size;
        std::vector<unsigned char> tail;
        bool first = true;
        do {
            TBlock block;
            block.Dictionary = tail;
            block.Input.resize(static_cast<std::size_t>(std::min<std::uint64_t>(left, kDeflateBlockSize)));
            if (file.Read(block.Input.data(), block.Input.size()) != block.Input.size()) {
                throw EFileError(DisplayPath(sources[s].Path) + " changed while it was packed");
            }
            left -= block.Input.size();
            block.Last = left == 0;
            if (block.Last) {
                unsigned char probe = 0;
                if (file.Read(&probe, 1) != 0) {
                    throw EFileError(DisplayPath(sources[s].Path) + " changed while it was packed");
                }
            } else {
                const std::size_t keep = std::min(kWindow, block.Input.size());
                tail.assign(block.Input.end() - static_cast<std::ptrdiff_t>(keep), block.Input.end());
            }
            const bool last = block.Last;
            while (pending.size() >= window) {
                writeOldest();
            }
            pending.push_back({s, first, last, pool.Submit(std::move(block))});
            first = false;
        } while (left > 0);
    }
    while (!pending.empty()) {
        writeOldest();
    }
}
